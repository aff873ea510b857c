#pragma once
// Parts of the program kept in modules of their own and loaded when first needed, so that
// the libraries they bring are not loaded at every start.
#include <QFunctionPointer>
#include <QString>

namespace movarek {

// The entry `symbol` of the module `fileName`, found beside the program or, for an installed
// program, in its library folder; none when the module is missing or broken (the reason is
// logged).
QFunctionPointer programModuleEntry(const char* fileName, const char* symbol);

// Where modules are looked for instead of the program's folder: tests show a broken
// installation with a folder without them. Empty: the program's folder.
void setModuleFolder(const QString& folder);

}  // namespace movarek
