#pragma once
// The program's windows on a temporary program folder, with the message box and the modal
// loop answered by the test instead of a person.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/qt/forms.h"
#include "app/qt/main_window.h"
#include "common/program_folder.h"
#include "common/qt/file_choice.h"
#include "common/qt/input_box.h"
#include "common/qt/memo.h"
#include "common/qt/message_box.h"
#include "common/qt/modal.h"
#include "common/qt/program_database.h"
#include "send/gateway.h"
#include "temporary_program_folder.h"
#include "webview/qt/web_browser.h"
#include "webview/qt/web_load.h"

// Failures show texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace movarek {
inline void PrintTo(const MessageRequest& message, std::ostream* out) {
  *out << '"' << message.caption.toStdString() << "\": \"" << message.text.toStdString() << '"';
}
}  // namespace movarek

namespace movarek::testing {

class FormsTest : public TemporaryProgramFolder {
 protected:
  void SetUp() override {
    TemporaryProgramFolder::SetUp();
    // Should the program folder refuse new files, the data stays in the test's folder too.
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder + "/xdg"));
    // Requests of these tests go nowhere: the web engine refuses the discard port outright.
    setGatewayHost("127.0.0.1:9");
    setMessageHandler([this](const MessageRequest& request) {
      messages.push_back(request);
      if (answers.empty())
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
      const auto answer = answers.front();
      answers.pop_front();
      return answer;
    });
    setFileHandler([this](const FileRequest& request) {
      fileRequests.push_back(request);
      if (chosenFiles.empty()) return QString();
      const QString chosen = chosenFiles.front();
      chosenFiles.pop_front();
      return chosen;
    });
    setModalHandler([this](QDialog& dialog) {
      shownDialogs.push_back(&dialog);
      return onModal ? onModal(dialog) : int{QDialog::Rejected};
    });
  }

  void TearDown() override {
    forms.reset();
    TemporaryProgramFolder::TearDown();
    setMessageHandler({});
    setModalHandler({});
    setFileHandler({});
    setInputHandler({});
  }

  // Starts the program's windows as its entry does: the main window first, the others once it
  // has painted or when first asked for. The web engine starts after the main window's first
  // paint, or half a second after its creation when it is not shown, so the loads of a test
  // that never shows it go out as well.
  void startProgram() { forms = std::make_unique<Forms>(); }

  TfrmMain& main() { return forms->main(); }

  // Waits until the database's thread has answered all the windows asked of it, and what the
  // answers asked for in turn.
  void waitForTheDatabase() {
    EXPECT_TRUE(QTest::qWaitFor([this] { return forms->database().idle(); }, 20000));
  }

  // The "SMS E-mail" page's fields filled for a send that passes every check.
  void fillEmailSend(const QString& address = QStringLiteral("jan@sms.cz"),
                     const QString& text = QStringLiteral("Ahoj")) {
    main().editAdresa->setText(address);
    main().memoText->setPlainText(text);
  }

  // Shows the main window as the active one, so that focus and shortcuts act as for a person.
  void showMain() {
    main().show();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
  }

  // The gateway ends the requests under way: answers them, or fails them with `failure`.
  // (The tests' own host is never reached: its refusal comes after this.)
  void gatewayAnswers(const std::optional<LoadFailure>& failure = std::nullopt) {
    for (TCppWebBrowser* browser : {main().CppWebBrowser1, main().webOskarSend}) {
      for (WebLoad* load : browser->loadsUnderWay()) load->end(failure);
    }
  }

  // The URLs of the requests a hidden browser has under way, oldest first.
  static QStringList requestsUnderWay(const TCppWebBrowser& browser) {
    QStringList urls;
    for (const WebLoad* load : browser.loadsUnderWay())
      urls << load->url().toString(QUrl::FullyEncoded);
    return urls;
  }

  std::string filePath(const std::string& name) const { return programFile(name); }

  bool fileExists(const std::string& name) const { return std::ifstream(filePath(name)).good(); }

  // The program folder, as Qt names it.
  QString folderPath() const { return QString::fromStdString(folder); }
  std::unique_ptr<Forms> forms;
  std::vector<MessageRequest> messages;  // every box shown, in order
  std::deque<MessageAnswer> answers;     // given in order; No or OK when none is left
  std::vector<QDialog*> shownDialogs;
  std::deque<QString> chosenFiles;  // picked in the file dialog, in order; none cancels
  std::vector<FileRequest> fileRequests;
  std::function<int(QDialog&)> onModal;  // works a dialog while it is "shown"
};

}  // namespace movarek::testing
