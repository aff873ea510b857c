#include "send/qt/sending_page.h"

#include <QLineEdit>
#include <QTextCursor>
#include <algorithm>

#include "common/cp1250.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/program_clock.h"
#include "send/gateway.h"
#include "send/outbox.h"
#include "send/qt/lost_characters.h"
#include "send/qt/outbox.h"
#include "send/qt/plan_dialog.h"
#include "send/qt/send_flow.h"

namespace movarek {
namespace {

QString currentText(const SendingPage::FieldText& field) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(field.widget)) return edit->text();
  return static_cast<const TMemo*>(field.widget)->text();
}

// Replaced as an edit of the field, so that its undo brings the earlier text back.
void replaceUndoably(const SendingPage::FieldText& field) {
  if (currentText(field) == field.text) return;
  if (auto* edit = qobject_cast<QLineEdit*>(field.widget)) {
    edit->selectAll();
    edit->insert(field.text);
    return;
  }
  QTextCursor cursor(static_cast<TMemo*>(field.widget)->document());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertText(field.text);
  cursor.endEditBlock();
}

}  // namespace

SendingPage::SendingPage(Page page, TMemo& memo, Sends sends)
    : page_(page), memo_(memo), sends_(std::move(sends)) {}

void SendingPage::send() {
  if (sends_.flow.busy(page_)) return;
  const Checked checked = this->checked();
  if (!passed(checked)) return;
  std::vector<SentRecord> records = recordsOf(checked.check);
  for (const SentRecord& record : records) {
    if (!sends_.outbox.mayAlsoSend(record)) return;
  }
  sends_.flow.send(page_, std::move(records), checked.message);
}

// Every check of a send runs now, not at its time.
void SendingPage::planLater() {
  const Checked checked = this->checked();
  if (!passed(checked)) return;
  PlanDialog& dialog = sends_.planDialog();
  dialog.FormActivate();
  if (showModal(dialog) != QDialog::Accepted) return;
  std::vector<SentRecord> records = recordsOf(checked.check);
  for (SentRecord& record : records) {
    record.sentAt = ProgramClock::instance().now();
    record.dueAt = dialog.chosen().value();
    record.route = std::string(sends_.flow.routeOf(page_));
  }
  const SentRecord last = records.back();
  records.pop_back();
  for (SentRecord& record : records)
    sends_.outbox.plan(std::move(record), [](const SentRecord&) {});
  // The text may be cleared only once the plan is surely kept: the plans are kept in order.
  sends_.outbox.plan(last, [memo = &memo_, text = checked.message](const SentRecord& kept) {
    const auto answer = showMessage(
        QStringLiteral("Zpráva je naplánována na %1.\nChcete vymazat text naplánované zprávy?")
            .arg(QString::fromStdString(shownTime(kept.dueAt))),
        QStringLiteral("Zpráva naplánována"), MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes && memo->windowsText() == text) memo->clear();
    memo->setFocus();
  });
}

bool SendingPage::passed(const Checked& checked) {
  const SendCheck& check = checked.check;
  if (!check.refused()) return agreedToLoseCharacters(checked.fields);
  showMessage(QString::fromStdString(check.message), QString::fromStdString(check.caption));
  if (QWidget* target = focusFor(check.focus)) target->setFocus();
  return false;
}

// What the sent messages keep of the page's send: its fields as the request carries them, and
// the request.
std::vector<SentRecord> SendingPage::recordsOf(const SendCheck& check) const {
  const auto utf8 = [](const std::string& cp1250) { return cp1250ToUtf8(cp1250); };
  const SentFields& sent = check.sent;
  SentRecord record;
  record.page = page_;
  record.request = pathAndQueryOf(check.url);
  record.addressees = utf8(sent.addressees);
  record.oskarPrefix = utf8(sent.oskarPrefix);
  record.senderPrefix = utf8(sent.senderPrefix);
  record.sender = utf8(sent.sender);
  record.text = QString::fromStdString(utf8(sent.message))
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .toStdString();
  return {record};
}

bool SendingPage::putBack(const SentRecord& record) {
  const std::vector<FieldText> fields = fieldsOf(record);
  const bool replacesWriting = std::ranges::any_of(fields, [](const FieldText& field) {
    const QString current = currentText(field);
    return !current.isEmpty() && current != field.text;
  });
  if (replacesWriting &&
      showMessage(QStringLiteral("Nahradit rozepsanou zprávu?\nAdresa a text, které jsou teď v "
                                 "okně, se nahradí vybranou zprávou (vrátíte je klávesami "
                                 "Ctrl+Z)."),
                  QStringLiteral("Odeslané zprávy"),
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) {
    return false;
  }
  for (const FieldText& field : fields) replaceUndoably(field);
  putRest(record);
  return true;
}

}  // namespace movarek
