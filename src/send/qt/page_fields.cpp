#include "send/qt/page_fields.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "common/oskar_prefixes.h"
#include "common/qt/memo.h"
#include "common/qt/qt_text.h"

namespace movarek {
namespace {

// A record keeps the prefix it sent ("608"); older ones kept the list's item ("+420 608").
int prefixIndex(const QComboBox& list, const std::string& prefix) {
  const auto sent = std::ranges::find(kOskarPrefixes, prefix);
  if (sent != kOskarPrefixes.end()) return static_cast<int>(sent - kOskarPrefixes.begin());
  return list.findText(QString::fromStdString(prefix));
}

}  // namespace

EmailSendingPage::EmailSendingPage(QLineEdit& address, TMemo& memo, Sends sends)
    : SendingPage(Page::Sms, memo, std::move(sends)), address_(address), memo_(memo) {}

SendingPage::Checked EmailSendingPage::checked() const {
  const QString message = memo_.windowsText();
  return {checkEmailSend(toCp1250(address_.text()), toCp1250(message)),
          message,
          {address_.text(), message}};
}

QWidget* EmailSendingPage::focusFor(SendFocus focus) const {
  if (focus == SendFocus::EmailAddress) return &address_;
  if (focus == SendFocus::EmailMessage) return &memo_;
  return nullptr;
}

std::vector<SendingPage::FieldText> EmailSendingPage::fieldsOf(const SentRecord& record) const {
  return {{&address_, QString::fromStdString(record.addressees)},
          {&memo_, QString::fromStdString(record.text)}};
}

OskarSendingPage::OskarSendingPage(const Fields& fields, Sends sends)
    : SendingPage(Page::Oskar, fields.memo, std::move(sends)), fields_(fields) {}

SendingPage::Checked OskarSendingPage::checked() const {
  const QString message = fields_.memo.windowsText();
  return {checkOskarSend({toCp1250(fields_.number.text()), toCp1250(message),
                          fields_.prefix.currentIndex(), toCp1250(fields_.sender.text()),
                          toCp1250(fields_.senderPrefix.text())}),
          message,
          {fields_.number.text(), message, fields_.sender.text(), fields_.senderPrefix.text()}};
}

QWidget* OskarSendingPage::focusFor(SendFocus focus) const {
  if (focus == SendFocus::OskarNumber) return &fields_.number;
  if (focus == SendFocus::OskarMessage) return &fields_.memo;
  if (focus == SendFocus::OskarPrefix) return &fields_.prefix;
  return nullptr;
}

std::vector<SendingPage::FieldText> OskarSendingPage::fieldsOf(const SentRecord& record) const {
  return {{&fields_.number, QString::fromStdString(record.addressees)},
          {&fields_.senderPrefix, QString::fromStdString(record.senderPrefix)},
          {&fields_.sender, QString::fromStdString(record.sender)},
          {&fields_.memo, QString::fromStdString(record.text)}};
}

void OskarSendingPage::putRest(const SentRecord& record) {
  const int prefix = prefixIndex(fields_.prefix, record.oskarPrefix);
  if (prefix >= 0) fields_.prefix.setCurrentIndex(prefix);
}

}  // namespace movarek
