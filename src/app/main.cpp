#include <QApplication>
#include <stdexcept>

#include "app/entry.h"
#include "app/error_report.h"
#include "app/forms.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  movarek::prepareApplication(application);
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
