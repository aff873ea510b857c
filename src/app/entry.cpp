#include "app/entry.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/error_report.h"

namespace movarek {

void prepareApplication(QApplication& application) {
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  if (QLocale().language() != QLocale::Czech) return;
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

}  // namespace movarek
