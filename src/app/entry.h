#pragma once
// The program's start around its windows: shared by its entry and the benchmark's builds of it.
#include <future>

class QApplication;
class QWidget;

namespace movarek {

class SingleInstance;

// Reads the system's font configuration on a thread of its own. Started before the application
// connects to the display, it is done about when the first window needs its fonts, where it
// would otherwise hold up the window for longer than connecting takes. To be waited for before
// the first window is made.
std::future<void> readFontConfigurationAhead();

// Names the application; Yes and No speak Czech under any locale.
void prepareApplication(QApplication& application);

// A second start: the running copy comes to the front, or where it cannot, the user is told.
void tellOfRunningCopy(const SingleInstance& running);

// What a write cut short (a crash, a power cut) left of the data files. Only the copy that
// holds the data folder may remove it.
void removeLeftoverTemporaryFiles();

// The main window, or the dialog it has open, in front and active.
void bringToFront(QWidget& mainWindow);

}  // namespace movarek
