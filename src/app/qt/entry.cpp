#include "app/qt/entry.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>
#include <future>
#include <stdexcept>

#include "addressbook/contact_store.h"
#include "addressbook/speed_dials.h"
#include "app/qt/error_report.h"
#include "app/qt/forms.h"
#include "app/qt/main_window.h"
#include "app/qt/single_instance.h"
#include "app/stored_fields.h"
#include "common/database.h"
#include "common/program_folder.h"
#include "common/qt/carried_picture.h"
#include "common/qt/designed_look.h"
#include "common/qt/log.h"
#include "common/qt/message_box.h"
#include "common/safe_file.h"
#include "common/set_aside.h"

namespace movarek {

namespace {

// Reads the system's font configuration on a thread of its own. Started before the application
// connects to the display, it is done about when the first window needs its fonts, where it
// would otherwise hold up the window for longer than connecting takes.
std::future<void> readFontConfigurationAhead() {
  return std::async(std::launch::async, [] { FcInit(); });
}

// A second start: the running copy comes to the front, or where it cannot, the user is told.
void tellOfRunningCopy(const SingleInstance& running) {
  if (running.raiseRunningCopy()) return;
  showMessage(QStringLiteral("Program SMS Movarek už je spuštěn."),
              QString::fromUtf8(kApplicationTitle));
}

// What a write cut short (a crash, a power cut) left of the data files. Only the copy that
// holds the data folder may remove it.
void removeLeftoverTemporaryFiles() {
  for (const char* name : {kStoredFieldsFile, kContactsFile, kSpeedDialsFile}) {
    removeLeftovers(dataFile(name));
  }
  removeLeftovers(setAsidePath(dataFile(kDatabaseName)));
}

// The main window, or the dialog it has open, in front and active.
void bringToFront(QWidget& mainWindow) {
  QWidget* front =
      QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &mainWindow;
  if (mainWindow.isMinimized() || mainWindow.isHidden()) mainWindow.showNormal();
  front->raise();
  front->activateWindow();
}

}  // namespace

int runProgram(int argc, char* argv[], const StartHooks& hooks) {
  const auto fontConfiguration = readFontConfigurationAhead();
  QApplication application(argc, argv);
  prepareApplication(application);
  if (hooks.beforeWindows) hooks.beforeWindows();
  SingleInstance instance(dataFolder());
  if (!instance.claimed()) {
    tellOfRunningCopy(instance);
    return 0;
  }
  if (instance.holdsFolder()) removeLeftoverTemporaryFiles();
  try {
    fontConfiguration.wait();
    Forms forms;
    instance.onRaise([&forms] { bringToFront(forms.main()); });
    if (hooks.beforeShow) hooks.beforeShow(forms);
    forms.main().show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    reportError(error);
  } catch (...) {
    reportError(std::runtime_error(""));
  }
  return 1;
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

}  // namespace movarek
