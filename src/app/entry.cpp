#include "app/entry.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include "addressbook/contact_store.h"
#include "addressbook/speed_dials.h"
#include "app/error_report.h"
#include "app/single_instance.h"
#include "app/stored_fields.h"
#include "common/carried_picture.h"
#include "common/designed_look.h"
#include "common/log.h"
#include "common/message_box.h"
#include "common/program_folder.h"
#include "common/safe_file.h"

namespace movarek {

std::future<void> readFontConfigurationAhead() {
  return std::async(std::launch::async, [] { FcInit(); });
}

// The program speaks Czech whatever the desktop's language: Qt's own texts (Yes and No of the
// message boxes) too.
void prepareApplication(QApplication& application) {
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QIcon icon;
  // The sizes of title bars and task lists: every size given is read at the start and handed
  // to the window system, and the desktop takes its larger icons from the desktop entry.
  for (const int size : {16, 32, 48}) {
    icon.addPixmap(
        carriedPicture(QStringLiteral(":/movarek/icons/%1/cz.vertanix.SmsMovarek.png").arg(size)));
  }
  QApplication::setWindowIcon(icon);
  keepDesignedLook();
  logCoreFaults();
  // The desktop entry by which the desktop knows the program's windows.
  QGuiApplication::setDesktopFileName(QStringLiteral("cz.vertanix.SmsMovarek"));
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

void tellOfRunningCopy(const SingleInstance& running) {
  if (running.raiseRunningCopy()) return;
  showMessage(QStringLiteral("Program SMS Movarek už je spuštěn."),
              QString::fromUtf8(kApplicationTitle));
}

void removeLeftoverTemporaryFiles() {
  for (const char* name : {kStoredFieldsFile, kContactsFile, kSpeedDialsFile}) {
    removeLeftovers(dataFile(name));
  }
}

void bringToFront(QWidget& mainWindow) {
  QWidget* front =
      QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &mainWindow;
  if (mainWindow.isMinimized()) mainWindow.showNormal();
  front->raise();
  front->activateWindow();
}

}  // namespace movarek
