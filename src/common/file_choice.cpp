#include "common/file_choice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace movarek {
namespace {

FileHandler& handlerSlot() {
  static FileHandler handler;
  return handler;
}

// "vCard (*.vcf)" gives ".vcf".
QString extensionOf(const QString& filter) {
  const auto match = QRegularExpression(QStringLiteral("\\*(\\.\\w+)")).match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QString chooseFile(QWidget* parent, const FileRequest& request) {
  if (handlerSlot()) return handlerSlot()(request);
  if (request.choice == FileChoice::Open) {
    return QFileDialog::getOpenFileName(parent, request.caption, {}, request.filters);
  }
  QString chosenFilter;
  QString path =
      QFileDialog::getSaveFileName(parent, request.caption, {}, request.filters, &chosenFilter);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += extensionOf(chosenFilter);
  return path;
}

void setFileHandler(FileHandler handler) { handlerSlot() = std::move(handler); }

}  // namespace movarek
