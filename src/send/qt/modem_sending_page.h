#pragma once
// "Modem": one or more telephone numbers and a message, sent through the user's modem as one
// message to each number.
#include "send/qt/sending_page.h"

class QLineEdit;

namespace movarek {

class ModemSendingPage final : public SendingPage {
 public:
  ModemSendingPage(QLineEdit& numbers, TMemo& memo, Sends sends);

 private:
  Checked checked() const override;
  QWidget* focusFor(SendFocus focus) const override;
  std::vector<FieldText> fieldsOf(const SentRecord& record) const override;
  std::vector<SentRecord> recordsOf(const SendCheck& check) const override;

  QLineEdit& numbers_;
  TMemo& memo_;
};

// A number in international form as the phone number module reads it, or by its digits where
// the module is missing.
std::string internationalNumber(std::string_view written);

}  // namespace movarek
