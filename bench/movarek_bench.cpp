// The program started as its entry starts it, on a temporary program folder, with timing hooks.
// Usage: movarek-bench RESULT_FILE SCENARIO [PROGRAM_FOLDER]
//   send        first paint; both start-up pages loaded; Ctrl+P on the "SMS E-mail" page once
//               they are; memory once the gateway has answered, and a second later
//   early-send  first paint; Ctrl+P as soon as the window has painted and is active
//   first-paint first paint, then the program ends (for a profile of the start)
//   contacts    first paint; once the start-up pages are loaded, opening the contacts dialog,
//               adding a contact, marking all and OK (the driver stores the contacts in
//               PROGRAM_FOLDER beforehand)
// Every time is written as milliseconds since the epoch, or as a duration ("_ms" either way).
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "addressbook/qt/contacts_dialog.h"
#include "app/qt/entry.h"
#include "app/qt/forms.h"
#include "app/qt/main_window.h"
#include "common/program_folder.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "probe.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_load.h"

namespace {

using movarek::TfrmKontakty;
using movarek::TfrmMain;

enum class Scenario { Send, EarlySend, Contacts, FirstPaint };

constexpr int kSettleMs = 1000;

Scenario scenarioNamed(const QString& name) {
  if (name == QLatin1String("early-send")) return Scenario::EarlySend;
  if (name == QLatin1String("contacts")) return Scenario::Contacts;
  if (name == QLatin1String("first-paint")) return Scenario::FirstPaint;
  return Scenario::Send;
}

class Run : public QObject {
 public:
  Run(movarek::Forms& forms, const bench::ResultFile& results, Scenario scenario)
      : forms_(forms), window_(forms.main()), results_(results), scenario_(scenario) {
    new bench::PaintProbe(window_, [this](double paintedAt) {
      results_.writeFirstPaint(paintedAt);
      painted_ = true;
      if (scenario_ == Scenario::EarlySend) QTimer::singleShot(0, this, [this] { send(); });
      // Nothing after the paint counts: not even the engine's start queued behind it.
      if (scenario_ == Scenario::FirstPaint) ::_exit(0);
    });
    connect(window_.webEurotel, &movarek::TCppWebBrowser::DocumentComplete, this,
            [this] { startupLoadEnded(eurotelLoaded_); });
    // The start-up request is the hidden browser's first load, under way from the creation step.
    connect(window_.CppWebBrowser1->loadsUnderWay().front(), &movarek::WebLoad::Ended, this,
            [this] { startupLoadEnded(startupRequestLoaded_); });
    // The question after a send: the gateway has answered.
    movarek::setMessageHandler([this](const movarek::MessageRequest& request) {
      if (request.buttons == movarek::MessageButtons::YesNo) {
        QTimer::singleShot(0, this, [this] { answered(); });
      }
      return movarek::MessageAnswer::No;
    });
    window_.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate && scenario_ == Scenario::EarlySend && painted_) {
      send();
    }
    return false;
  }

 private:
  void startupLoadEnded(bool& which) {
    if (which) return;
    which = true;
    if (!eurotelLoaded_ || !startupRequestLoaded_) return;
    results_.write("engine_up_ms", bench::nowMs());
    if (scenario_ == Scenario::Send) send();
    if (scenario_ == Scenario::Contacts) QTimer::singleShot(0, this, [this] { openContacts(); });
  }

  // Ctrl+P on the "SMS E-mail" page, as a key press reaches the focused field; the window's
  // shortcuts only act in the active window.
  void send() {
    if (sent_ || !window_.isActiveWindow()) return;
    sent_ = true;
    window_.editAdresa->setText(QStringLiteral("bench@sms.cz"));
    window_.memoText->setPlainText(QStringLiteral("Ahoj"));
    window_.memoText->setFocus();
    results_.write("ctrl_p_ms", bench::nowMs());
    QCoreApplication::postEvent(
        window_.memoText,
        new QKeyEvent(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10")));
  }

  // Memory as the answer comes, and once the send is over: a second later.
  void answered() {
    results_.write("answered_ms", bench::nowMs());
    results_.write(bench::processTreeMemory());
    QTimer::singleShot(kSettleMs, this, [this] {
      results_.write(bench::processTreeMemory(), "settled_");
      finish();
    });
  }

  // From the press of "Kontakty" to the dialog's first paint; the dialog runs modally until OK.
  void openContacts() {
    const double pressed = bench::nowMs();
    new bench::PaintProbe(contacts(), [this, pressed](double paintedAt) {
      results_.write("contacts_open_ms", paintedAt - pressed);
      QTimer::singleShot(0, this, [this] { addContact(); });
    });
    window_.btnKontakty->click();
  }

  // From the press of "Nový" to the dialog painted with the longer list; the file is written
  // before the press returns.
  void addContact() {
    contacts().editJmeno->setText(QStringLiteral("Nový kontakt"));
    contacts().editAdresa->setText(QStringLiteral("novy@sms.cz"));
    contacts().editTelefon->setText(QStringLiteral("777999999"));
    const double pressed = bench::nowMs();
    new bench::PaintProbe(contacts(), [this, pressed](double paintedAt) {
      results_.write("contact_added_ms", paintedAt - pressed);
      QTimer::singleShot(0, this, [this] { markAllAndConfirm(); });
    });
    contacts().btnNovy->click();
    results_.write("contact_stored_ms", bench::nowMs() - pressed);
  }

  // From the press of "Označit vše" to the main window painted with the addresses.
  void markAllAndConfirm() {
    const double pressed = bench::nowMs();
    new bench::PaintProbe(window_, [this, pressed](double paintedAt) {
      results_.write("marked_all_ok_ms", paintedAt - pressed);
      finish();
    });
    contacts().btnOznacitVse->click();
    contacts().btnOK->click();
  }

  void finish() {
    // Not quit(): that would ask the main window to close, which the close guard refuses.
    QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
  }

  // The contacts dialog, made once the main window has painted.
  TfrmKontakty& contacts() { return forms_.kontakty(); }

  movarek::Forms& forms_;
  TfrmMain& window_;
  const bench::ResultFile& results_;
  const Scenario scenario_;
  bool painted_ = false;
  bool sent_ = false;
  bool eurotelLoaded_ = false;
  bool startupRequestLoaded_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) return 2;
  const bench::ResultFile results(QString::fromLocal8Bit(argv[1]));
  const Scenario scenario = scenarioNamed(QString::fromLocal8Bit(argv[2]));
  const QTemporaryDir temporaryFolder;
  const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporaryFolder.path();
  std::unique_ptr<Run> run;
  // The program's own start, with the benchmark's folder and its probes.
  return movarek::runProgram(argc, argv,
                             {[&folder] { movarek::setProgramFolder(folder.toStdString()); },
                              [&](movarek::Forms& forms) {
                                run = std::make_unique<Run>(forms, results, scenario);
                                // The window is shown as the desktop would show a program just
                                // started: active.
                                QTimer::singleShot(0, &forms.main(),
                                                   [&forms] { forms.main().activateWindow(); });
                              }});
}
