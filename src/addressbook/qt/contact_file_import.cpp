#include "addressbook/qt/contact_file_import.h"

#include <QFileInfo>
#include <QWidget>

#include "addressbook/address_book.h"
#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_files.h"
#include "addressbook/qt/contact_groups_panel.h"
#include "addressbook/qt/user_notice.h"
#include "common/qt/file_choice.h"
#include "common/qt/message_box.h"
#include "exchange/qt/phone_module.h"

namespace movarek {
namespace {

void reportImport(const ImportCount& count, int unmadeGroups) {
  QString report = QString::fromStdString(importReport(count));
  if (unmadeGroups > 0) {
    report += QStringLiteral("\nNezaložené skupiny: %1 (jeden import založí nejvýše %2 skupin).")
                  .arg(unmadeGroups)
                  .arg(ContactGroups::kMostNewGroups);
  }
  if (phoneModuleMissing())
    report += QStringLiteral("\n\n") + QString::fromUtf8(kNumbersKeptAsWritten);
  showMessage(report, QStringLiteral("Import kontaktů"));
}

}  // namespace

ContactFileImport::ContactFileImport(QWidget& dialog, AddressBook& book, ContactGroupsPanel& groups)
    : QObject(&dialog), dialog_(dialog), book_(book), groups_(groups) {}

void ContactFileImport::chooseAndImport() {
  const QString path =
      chooseFile(&dialog_, {FileChoice::Open, QStringLiteral("Importovat kontakty"),
                            QStringLiteral("Kontakty (*.vcf *.csv);;") + contactFileFilters()});
  if (!path.isEmpty()) importFile(path);
}

void ContactFileImport::importFile(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const auto format = contactFormatTold(path);
  if (!format) return;
  const auto cards = readContactFile(path.toStdString(), *format);
  if (!cards) {
    tellAddressBookError(QStringLiteral("Soubor %1 nelze přečíst.").arg(name));
    return;
  }
  if (cards->empty()) {
    tellAddressBookError(QStringLiteral("V souboru %1 není žádný kontakt.").arg(name));
    return;
  }
  const auto& book = book_.contacts().book();
  const ImportPlan plan = planImport(book.contacts(), book.room(), *cards, keptPhoneNumberByModule);
  const auto changes = book_.importContacts(plan);
  emit bookChanged();
  if (!changes || changes->empty()) return reportImport(plan.count, 0);
  groups_.follow(changes, [count = plan.count](int unmade) { reportImport(count, unmade); });
}

}  // namespace movarek
