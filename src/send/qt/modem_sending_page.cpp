#include "send/qt/modem_sending_page.h"

#include <QLineEdit>

#include "common/qt/memo.h"
#include "exchange/qt/phone_module.h"
#include "send/modem_check.h"

namespace movarek {

std::string internationalNumber(std::string_view written) {
  std::string read = internationalPhoneNumberByModule(written);
  return phoneModuleMissing() ? plainInternationalNumber(written) : read;
}

ModemSendingPage::ModemSendingPage(QLineEdit& numbers, TMemo& memo, Sends sends)
    : SendingPage(Page::Modem, memo, std::move(sends)), numbers_(numbers), memo_(memo) {}

// The modem takes any character, so none is lost and none is asked about.
SendingPage::Checked ModemSendingPage::checked() const {
  const QString message = memo_.windowsText();
  return {
      checkModemSend(numbers_.text().toStdString(), message.toStdString(), &internationalNumber),
      message,
      {}};
}

QWidget* ModemSendingPage::focusFor(SendFocus focus) const {
  if (focus == SendFocus::ModemNumber) return &numbers_;
  if (focus == SendFocus::ModemMessage) return &memo_;
  return nullptr;
}

std::vector<SendingPage::FieldText> ModemSendingPage::fieldsOf(const SentRecord& record) const {
  return {{&numbers_, QString::fromStdString(record.addressees)},
          {&memo_, QString::fromStdString(record.text)}};
}

std::vector<SentRecord> ModemSendingPage::recordsOf(const SendCheck& check) const {
  std::vector<SentRecord> records;
  std::string_view numbers = check.sent.addressees;
  while (!numbers.empty()) {
    const auto end = std::min(numbers.find(';'), numbers.size());
    SentRecord record;
    record.page = Page::Modem;
    record.route = std::string(kModemRoute);
    record.addressees = numbers.substr(0, end);
    record.text = check.sent.message;
    records.push_back(std::move(record));
    numbers.remove_prefix(std::min(end + 1, numbers.size()));
  }
  return records;
}

}  // namespace movarek
