#include "common/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <vector>

#include "common/data_file.h"
#include "common/qt/qt_text.h"
#include "common/qt/stand_in.h"

namespace movarek {
namespace {

// The boxes open, the innermost last: a real box, or none where a test answers.
std::vector<QMessageBox*>& openBoxes() {
  static std::vector<QMessageBox*> boxes;
  return boxes;
}

MessageAnswer showRealBox(const MessageRequest& request) {
  QMessageBox box(QMessageBox::NoIcon, request.caption, request.text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  openBoxes().back() = &box;
  // Texts are shown as written, never as markup: some come from a web page.
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
  openBoxes().push_back(nullptr);
  const MessageAnswer answer =
      standIn<MessageHandler>() ? standIn<MessageHandler>()(request) : showRealBox(request);
  openBoxes().pop_back();
  return answer;
}

int openMessages() { return static_cast<int>(openBoxes().size()); }

void retellOpenMessage(const QString& text, const QString& caption) {
  if (openBoxes().empty()) return;
  if (standIn<MessageHandler>()) {
    standIn<MessageHandler>()({text, caption, MessageButtons::Ok, true});
  } else if (QMessageBox* box = openBoxes().back()) {
    box->setText(text);
    box->setWindowTitle(caption);
  }
}

void setMessageHandler(MessageHandler handler) { standIn<MessageHandler>() = std::move(handler); }

MessageAnswer showError(const QString& text, MessageButtons buttons) {
  return showMessage(text, errorCaption(), buttons);
}

QString errorCaption() { return qtFromUtf8(kErrorCaption); }

}  // namespace movarek
