#pragma once
// A page the user sends from, as its fields hold it: what a press of its "Poslat!" (or Ctrl+P)
// checks and sends, its "Odeslat později…", and a sent message put back into its fields.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "common/page.h"
#include "send/send_check.h"
#include "send/sent_messages.h"

class QWidget;

namespace movarek {

class Outbox;
class PlanDialog;
class SendFlow;
class TMemo;

class SendingPage {
 public:
  // What a page's sends go through: its own sends, the plans, and the dialog that asks when a
  // plan goes (made when first asked for).
  struct Sends {
    SendFlow& flow;
    Outbox& outbox;
    std::function<PlanDialog&()> planDialog;
  };

  // The page's send as a press checks it: `fields` are the texts it carries, as typed.
  struct Checked {
    SendCheck check;
    QString message;
    QStringList fields;
  };
  // A field of the page (a QLineEdit or a TMemo) and the text a sent record puts in it.
  struct FieldText {
    QWidget* widget;
    QString text;
  };

  SendingPage(Page page, TMemo& memo, Sends sends);
  virtual ~SendingPage() = default;

  Page page() const { return page_; }
  // A send waits for the gateway's answer before it asks anything; meanwhile a second send of
  // the same page does nothing.
  void send();
  // The message checked now and planned for a time the user gives; it is then kept until it
  // goes, and its text may be cleared as after a send.
  void planLater();
  // A sent message's addressees and text (and the rest of its fields) go into the page; nothing
  // is sent. Text being written that the record would replace is replaced only after a
  // question: false when the user kept it.
  bool putBack(const SentRecord& record);

 protected:
  virtual Checked checked() const = 0;
  // Where a refused check puts the focus; none leaves it where it is.
  virtual QWidget* focusFor(SendFocus focus) const = 0;
  virtual std::vector<FieldText> fieldsOf(const SentRecord& record) const = 0;
  // What a record holds beyond its fields' texts.
  virtual void putRest(const SentRecord&) {}
  // The records a passed check sends: one, with the gateway's request and the fields it
  // carries, unless the page sends otherwise.
  virtual std::vector<SentRecord> recordsOf(const SendCheck& check) const;

 private:
  // Passed every check, and the user agreed to lose the characters the gateway's code page
  // lacks; one that did not is told, and the focus goes where the fault is.
  bool passed(const Checked& checked);

  Page page_;
  TMemo& memo_;
  Sends sends_;
};

}  // namespace movarek
