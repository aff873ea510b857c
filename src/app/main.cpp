#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <stdexcept>

#include "app/error_report.h"
#include "app/forms.h"
#include "app/main_window.h"

namespace {

// Yes and No speak Czech where the desktop does and Qt's Czech translation is installed.
void loadCzechButtons(QApplication& application) {
  if (QLocale().language() != QLocale::Czech) return;
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // The web engine shares its drawing context with the widgets.
  QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(movarek::kApplicationTitle));
  loadCzechButtons(application);
  try {
    movarek::Forms forms;
    forms.frmMain->show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    movarek::reportError(error);
  } catch (...) {
    movarek::reportError(std::runtime_error(""));
  }
  return 1;
}
