#include "common/qt/input_box.h"

#include <QApplication>
#include <QInputDialog>

#include "common/qt/stand_in.h"

namespace movarek {
namespace {

std::optional<QString> askInRealBox(const InputRequest& request) {
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(request.caption);
  box.setLabelText(request.label);
  box.setTextValue(request.text);
  box.setOption(QInputDialog::UsePlainTextEditForTextInput, request.multiLine);
  box.setOkButtonText(QStringLiteral("OK"));
  box.setCancelButtonText(QStringLiteral("Storno"));
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue();
}

}  // namespace

std::optional<QString> askForText(const InputRequest& request) {
  return standIn<InputHandler>() ? standIn<InputHandler>()(request) : askInRealBox(request);
}

void setInputHandler(InputHandler handler) { standIn<InputHandler>() = std::move(handler); }

}  // namespace movarek
