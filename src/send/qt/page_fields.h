#pragma once
// The two pages that send through the gateway, each with the fields it checks, sends and has a
// sent message put back into.
#include "send/qt/sending_page.h"

class QComboBox;
class QLineEdit;

namespace movarek {

// "SMS E-mail": an address list and a message.
class EmailSendingPage final : public SendingPage {
 public:
  EmailSendingPage(QLineEdit& address, TMemo& memo, Sends sends);

 private:
  Checked checked() const override;
  QWidget* focusFor(SendFocus focus) const override;
  std::vector<FieldText> fieldsOf(const SentRecord& record) const override;

  QLineEdit& address_;
  TMemo& memo_;
};

// "Oskar": a prefix and a number, a message, and the sender's own prefix and number.
class OskarSendingPage final : public SendingPage {
 public:
  struct Fields {
    QComboBox& prefix;
    QLineEdit& number;
    TMemo& memo;
    QLineEdit& senderPrefix;
    QLineEdit& sender;
  };

  OskarSendingPage(const Fields& fields, Sends sends);

 private:
  Checked checked() const override;
  QWidget* focusFor(SendFocus focus) const override;
  std::vector<FieldText> fieldsOf(const SentRecord& record) const override;
  void putRest(const SentRecord& record) override;

  Fields fields_;
};

}  // namespace movarek
