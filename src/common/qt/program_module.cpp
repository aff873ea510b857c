#include "common/qt/program_module.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include "common/qt/log.h"

namespace movarek {
namespace {

QString& moduleFolderSlot() {
  static QString folder;
  return folder;
}

}  // namespace

void setModuleFolder(const QString& folder) { moduleFolderSlot() = folder; }

QFunctionPointer programModuleEntry(const char* fileName, const char* symbol) {
  const QString folder =
      (moduleFolderSlot().isEmpty() ? QCoreApplication::applicationDirPath() : moduleFolderSlot()) +
      u'/';
  const QString name = QString::fromUtf8(fileName);
  const QStringList candidates{folder + name,
                               folder + QStringLiteral(MOVAREK_INSTALLED_MODULE_DIR "/") + name};
  for (const QString& module : candidates) {
    if (!QFileInfo::exists(module)) continue;
    QLibrary library(module);
    if (const QFunctionPointer entry = library.resolve(symbol)) return entry;
    qCWarning(movarekLog).noquote()
        << "cannot load the module" << module << ":" << library.errorString();
    return nullptr;
  }
  qCWarning(movarekLog).noquote() << "the module" << name << "is missing: not in"
                                  << candidates.join(QStringLiteral(" or "));
  return nullptr;
}

}  // namespace movarek
