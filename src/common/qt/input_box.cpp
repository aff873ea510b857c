#include "common/qt/input_box.h"

#include <QApplication>
#include <QInputDialog>

namespace movarek {
namespace {

InputHandler& handlerSlot() {
  static InputHandler handler;
  return handler;
}

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
  return handlerSlot() ? handlerSlot()(request) : askInRealBox(request);
}

void setInputHandler(InputHandler handler) { handlerSlot() = std::move(handler); }

}  // namespace movarek
