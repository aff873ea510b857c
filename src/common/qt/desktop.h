#pragma once
// The desktop's own programs, started with the user's environment: the variables the program
// sets for its web engine (no OpenGL, the engine's process flags) would otherwise reach a
// browser built on the same engine and change how it runs.
#include <QByteArray>
#include <QProcessEnvironment>

class QUrl;

namespace movarek {

// Sets `name` for this process; the user's own value (or its absence) is remembered for the
// programs the program starts.
void setEngineVariable(const char* name, const QByteArray& value);
// The user's own value of `name`, which the web engine's module changes later, is remembered
// for the programs the program starts.
void rememberUsersVariable(const char* name);

// The environment as the user gave it to the program.
QProcessEnvironment userEnvironment();

// Opens a web or mail address in the desktop's browser or mail program. Where nothing can open
// it (no opener installed, or none that knows the address), the user is told which address to
// open by hand, in a box the address can be copied from.
void openOnDesktop(const QUrl& url);

}  // namespace movarek
