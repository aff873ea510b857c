#include "addressbook/qt/contact_files.h"

#include <QFileInfo>

#include "addressbook/qt/user_notice.h"

namespace movarek {

QString contactFileFilters() { return QStringLiteral("vCard (*.vcf);;CSV (*.csv)"); }

std::optional<ContactFormat> contactFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("vcf")) return ContactFormat::VCard;
  if (suffix == QLatin1String("csv")) return ContactFormat::Csv;
  return std::nullopt;
}

std::optional<ContactFormat> contactFormatTold(const QString& path) {
  const auto format = contactFormatOf(path);
  if (!format) {
    tellAddressBookError(QStringLiteral("Soubor %1 není vCard (.vcf) ani CSV (.csv).")
                             .arg(QFileInfo(path).fileName()));
  }
  return format;
}

}  // namespace movarek
