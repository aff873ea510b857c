#include "addressbook/qt/contact_file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "addressbook/qt/contact_files.h"

namespace movarek {
namespace {

// The local .vcf and .csv files of a drag.
QStringList contactFilesOf(const QMimeData& dragged) {
  QStringList files;
  for (const QUrl& url : dragged.urls()) {
    if (url.isLocalFile() && contactFormatOf(url.toLocalFile())) files << url.toLocalFile();
  }
  return files;
}

}  // namespace

ContactFileDrop::ContactFileDrop(QWidget& dialog, std::initializer_list<QWidget*> controls)
    : QObject(&dialog) {
  dialog.setAcceptDrops(true);
  dialog.installEventFilter(this);
  for (QWidget* control : controls) control->installEventFilter(this);
}

bool ContactFileDrop::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QObject::eventFilter(watched, event);
  auto& drop = static_cast<QDropEvent&>(*event);
  const QStringList files = contactFilesOf(*drop.mimeData());
  if (files.isEmpty()) return false;
  if (type == QEvent::Drop) {
    for (const QString& file : files) emit fileDropped(file);
  }
  drop.acceptProposedAction();
  return true;
}

}  // namespace movarek
