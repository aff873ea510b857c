#include <QApplication>
#include <stdexcept>

#include "app/entry.h"
#include "app/error_report.h"
#include "app/forms.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "common/program_folder.h"

int main(int argc, char* argv[]) {
  const auto fontConfiguration = movarek::readFontConfigurationAhead();
  QApplication application(argc, argv);
  movarek::prepareApplication(application);
  movarek::SingleInstance instance(movarek::dataFolder());
  if (!instance.claimed()) {
    movarek::tellOfRunningCopy(instance);
    return 0;
  }
  if (instance.holdsFolder()) movarek::removeLeftoverTemporaryFiles();
  try {
    fontConfiguration.wait();
    movarek::Forms forms(movarek::Forms::Start::MainWindowFirst);
    instance.onRaise([&forms] { movarek::bringToFront(*forms.frmMain); });
    forms.frmMain->show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    movarek::reportError(error);
  } catch (...) {
    movarek::reportError(std::runtime_error(""));
  }
  return 1;
}
