#include "common/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "common/qt/stand_in.h"

namespace movarek {
namespace {

MessageAnswer showRealBox(const MessageRequest& request) {
  QMessageBox box(QMessageBox::NoIcon, request.caption, request.text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  // Texts are shown as written, never as markup: some come from the gateway's page.
  box.setTextFormat(Qt::PlainText);
  // Selected and copied as any text: an address to open by hand, a reason to look up.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
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
  return standIn<MessageHandler>() ? standIn<MessageHandler>()(request) : showRealBox(request);
}

void setMessageHandler(MessageHandler handler) { standIn<MessageHandler>() = std::move(handler); }

}  // namespace movarek
