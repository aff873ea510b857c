#include "common/program_module.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace movarek {

QFunctionPointer programModuleEntry(const char* fileName, const char* symbol) {
  const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
  const QString name = QString::fromUtf8(fileName);
  for (const QString& module :
       {programFolder + name,
        programFolder + QStringLiteral(MOVAREK_INSTALLED_MODULE_DIR "/") + name}) {
    if (!QFileInfo::exists(module)) continue;
    if (const QFunctionPointer entry = QLibrary(module).resolve(symbol)) return entry;
  }
  return nullptr;
}

}  // namespace movarek
