#pragma once
// Parts of the program kept in modules of their own and loaded when first needed, so that
// the libraries they bring are not loaded at every start.
#include <QFunctionPointer>

namespace movarek {

// The entry `symbol` of the module `fileName`, found beside the program or, for an installed
// program, in its library folder; none when the module is missing or broken.
QFunctionPointer programModuleEntry(const char* fileName, const char* symbol);

}  // namespace movarek
