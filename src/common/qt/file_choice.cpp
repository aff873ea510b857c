#include "common/qt/file_choice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/qt/message_box.h"
#include "common/qt/stand_in.h"

namespace movarek {
namespace {

// "vCard (*.vcf)" gives ".vcf".
QString extensionOf(const QString& filter) {
  const auto match = QRegularExpression(QStringLiteral("\\*(\\.\\w+)")).match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

// A file to save: its name with the extension of the filter chosen, asked about only once it is
// whole, so that no file is replaced unasked.
QString fileToSave(QWidget* parent, const FileRequest& request) {
  QString chosenFilter = request.filters.section(QStringLiteral(";;"), 0, 0);
  QString path = standIn<FileHandler>() ? standIn<FileHandler>()(request)
                                        : QFileDialog::getSaveFileName(
                                              parent, request.caption, {}, request.filters,
                                              &chosenFilter, QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return {};
  if (QFileInfo(path).suffix().isEmpty()) path += extensionOf(chosenFilter);
  if (!QFileInfo::exists(path)) return path;
  const auto answer = showMessage(
      QStringLiteral("Soubor %1 už existuje.\nChcete ho nahradit?").arg(QFileInfo(path).fileName()),
      request.caption, MessageButtons::YesNo);
  return answer == MessageAnswer::Yes ? path : QString();
}

QString chooseFile(QWidget* parent, const FileRequest& request) {
  if (request.choice == FileChoice::Save) return fileToSave(parent, request);
  if (standIn<FileHandler>()) return standIn<FileHandler>()(request);
  return QFileDialog::getOpenFileName(parent, request.caption, {}, request.filters);
}

void setFileHandler(FileHandler handler) { standIn<FileHandler>() = std::move(handler); }

}  // namespace movarek
