#pragma once
// The application's message box: modal, without an icon. Every message of the program goes
// through here, so that tests can read the text and caption and give the answer.
#include <QString>
#include <functional>

namespace movarek {

// Yes is the default button of a question, unless the question is one to think twice about.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
  QString text;
  QString caption;
  MessageButtons buttons;
  // The innermost box open told anew (retellOpenMessage): no box of its own.
  bool retold = false;

  bool operator==(const MessageRequest&) const = default;
};

using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;

MessageAnswer showMessage(const QString& text, const QString& caption,
                          MessageButtons buttons = MessageButtons::Ok);
// A refusal or a failure, told under the one caption the program gives them all.
MessageAnswer showError(const QString& text, MessageButtons buttons = MessageButtons::Ok);
QString errorCaption();

// How many boxes are open, one within another.
int openMessages();
// The innermost box open says `text` under `caption` instead, as when more has come to be told
// in it while it is open; nothing when no box is open.
void retellOpenMessage(const QString& text, const QString& caption);

// Replaces the real box (an empty handler puts it back).
void setMessageHandler(MessageHandler handler);

}  // namespace movarek
