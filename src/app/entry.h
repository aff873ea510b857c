#pragma once
// The program's start around its windows: shared by its entry and the benchmark's builds of it.
class QApplication;

namespace movarek {

// Names the application; Yes and No speak Czech where the desktop does.
void prepareApplication(QApplication& application);

}  // namespace movarek
