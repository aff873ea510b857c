#pragma once
// The program's start around its windows: shared by its entry and the benchmark's builds of it.
class QApplication;

namespace movarek {

// Before the application object exists: how the web engine is to run.
void prepareWebEngine();

// Names the application; Yes and No speak Czech where the desktop does.
void prepareApplication(QApplication& application);

}  // namespace movarek
