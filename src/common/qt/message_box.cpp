#include "common/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace movarek {
namespace {

MessageHandler& handlerSlot() {
  static MessageHandler handler;
  return handler;
}

MessageAnswer showRealBox(const MessageRequest& request) {
  QMessageBox box(QMessageBox::NoIcon, request.caption, request.text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  // Texts are shown as written, never as markup: some come from the gateway's page.
  box.setTextFormat(Qt::PlainText);
  if (request.buttons != MessageButtons::Ok) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(request.buttons == MessageButtons::YesNo ? QMessageBox::Yes
                                                                  : QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

}  // namespace

MessageAnswer showMessage(const QString& text, const QString& caption, MessageButtons buttons) {
  const MessageRequest request{text, caption, buttons};
  return handlerSlot() ? handlerSlot()(request) : showRealBox(request);
}

void setMessageHandler(MessageHandler handler) { handlerSlot() = std::move(handler); }

}  // namespace movarek
