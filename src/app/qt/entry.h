#pragma once
// The program's start around its windows: run by its entry, and by the benchmark's build of it
// with hooks of its own.
#include <functional>

class QApplication;

namespace movarek {

class Forms;

struct StartHooks {
  // The application exists; no window does yet.
  std::function<void()> beforeWindows;
  // The windows exist; the main window is about to be shown.
  std::function<void(Forms& forms)> beforeShow;
};

// Starts the program: the application, one running copy per data folder, the windows; runs
// until the main window closes and gives the exit code.
int runProgram(int argc, char* argv[], const StartHooks& hooks = {});

// Names the application; Yes and No speak Czech under any locale. The program's own start and
// the tests' share it.
void prepareApplication(QApplication& application);

}  // namespace movarek
