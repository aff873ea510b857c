#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "app/program_schema.h"
#include "common/database.h"
#include "common/qt/memo.h"
#include "gateway_sim.h"
#include "send/qt/sent_messages_window.h"

namespace movarek::testing {
namespace {

class SentMessagesSession : public GatewayTest {
 protected:
  // The records as SQLite itself reads the file, oldest first.
  QString recordsInTheFile() {
    return databaseRows(
        QStringLiteral("SELECT page, addressees, oskar_prefix, text, state, reason "
                       "FROM sent_message ORDER BY id"));
  }

  // Presses the page's "Poslat!" and waits for what the program says of the send.
  QString sendAndWait(QPushButton* send) {
    const auto before = messages.size();
    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return messages.size() > before; }, 15000));
    return messages.size() > before ? messages.back().caption : QString();
  }

  // Opens "Odeslané zprávy" with Ctrl+H; `work` closes it.
  void openSentMessages(const std::function<void(SentMessagesWindow&)>& work) {
    workDialog(forms->odeslane(), Qt::Key_H, work);
  }

  static QStringList column(const QTreeView& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.model()->rowCount(); ++row)
      texts << list.model()->index(row, column).data().toString();
    return texts;
  }
};

TEST_F(SentMessagesSession, SentReusedSearchedDeletedAndReadableBySqlite) {
  ASSERT_NO_FATAL_FAILURE(restartProgram());

  // A character the gateway's code page lacks: asked about, No keeps the text unsent.
  fillEmailSend(QStringLiteral("Jiřina Malá <jirina@sms.cz>"),
                QStringLiteral("Ahoj, přijdu\nv 6. 😀"));
  const MessageRequest lostCharacters{
      QStringLiteral("Zpráva obsahuje znaky, které SMS centrum Vertanix nepřenese: 😀\n"
                     "Odeslat ji s otazníky („?“) místo nich?"),
      QStringLiteral("Nepřenosné znaky"), MessageButtons::YesNoDefaultNo};
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], lostCharacters);
  answers = {MessageAnswer::Yes};
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return messages.size() == 3; }, 15000));
  EXPECT_EQ(messages[1], lostCharacters);
  EXPECT_EQ(messages[2].caption, "Zpráva odeslána");  // No: the text stays
  EXPECT_EQ(simulator->requests().last().values.value(QStringLiteral("zprava")),
            "Ahoj, prijdu\nv 6. ?");
  ASSERT_NO_FATAL_FAILURE(restartProgram({QStringLiteral("--status"), QStringLiteral("503")}));
  main().btnOskarClick();
  main().comboPredcisliOskar->setCurrentIndex(1);
  main().editAdresaOskar->setText(QStringLiteral("123456"));
  main().editSenderOskar->setText(QStringLiteral("Petr"));
  main().memoTextOskar->setPlainText(QStringLiteral("Druhá zpráva"));
  EXPECT_EQ(sendAndWait(main().btnPoslatOskar), "Chyba");
  ASSERT_NO_FATAL_FAILURE(restartProgram({QStringLiteral("--close-without-answer")}));
  fillEmailSend(QStringLiteral("petr@sms.cz"), QStringLiteral("Třetí"));
  EXPECT_EQ(sendAndWait(main().btnPoslat), "Chyba");
  // What was sent: the "?" in place of the emoji, and the prefix that went out.
  const QString stored =
      "e-mail|Jiřina Malá <jirina@sms.cz>||Ahoj, přijdu\nv 6. ?|sent|\n"
      "oskar|123456|775|Druhá zpráva|not-sent|http 503\n"
      "e-mail|petr@sms.cz||Třetí|uncertain|network -324\n";
  ASSERT_TRUE(waitUntil([&] { return recordsInTheFile() == stored; }, 5000))
      << recordsInTheFile().toStdString();

  // Found without diacritics; Enter in the search goes to the list. Used again over a message
  // being written: after a question, and Ctrl+Z brings the message back. Nothing is sent.
  const auto requestsBefore = simulator->requests().size();
  main().editAdresa->clear();
  main().memoText->setPlainText(QStringLiteral("Rozepsaná"));
  answers = {MessageAnswer::No, MessageAnswer::Yes};
  openSentMessages([&](SentMessagesWindow& window) {
    EXPECT_EQ(window.windowTitle(), "Odeslané zprávy");
    EXPECT_EQ(QApplication::focusWidget(), window.editHledat);
    waitForTheDatabase();
    EXPECT_EQ(column(*window.listZpravy, 3), QStringList({"nejisté", "neodesláno", "odesláno"}));
    QTest::keyClicks(window.editHledat, QStringLiteral("MALA"));
    waitForTheDatabase();
    EXPECT_EQ(column(*window.listZpravy, 1), QStringList{"Jiřina Malá <jirina@sms.cz>"});
    EXPECT_TRUE(
        window.memoPodrobnosti->toPlainText().endsWith("Stav: odesláno\n\nAhoj, přijdu\nv 6. ?"));
    QTest::keyClick(window.editHledat, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.listZpravy);
    EXPECT_EQ(main().memoText->toPlainText(), "Rozepsaná");
    QTest::keyClick(window.listZpravy, Qt::Key_Return);  // No: the window stays
    waitForTheDatabase();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(main().memoText->toPlainText(), "Rozepsaná");
    QTest::keyClick(window.listZpravy, Qt::Key_Return);
    waitForTheDatabase();
  });
  const MessageRequest replace{
      QStringLiteral("Nahradit rozepsanou zprávu?\nAdresa a text, které jsou teď v okně, se "
                     "nahradí vybranou zprávou (vrátíte je klávesami Ctrl+Z)."),
      QStringLiteral("Odeslané zprávy"), MessageButtons::YesNoDefaultNo};
  EXPECT_EQ(messages.end()[-2], replace);
  EXPECT_EQ(messages.back(), replace);
  EXPECT_EQ(main().shownPage(), Page::Sms);
  EXPECT_EQ(main().editAdresa->text(), "Jiřina Malá <jirina@sms.cz>");
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj, přijdu\nv 6. ?");
  EXPECT_EQ(main().focusWidget(), main().memoText);
  QTest::keyClick(main().memoText, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(main().memoText->toPlainText(), "Rozepsaná");

  // The Oskar record deleted after a question, by keyboard.
  answers = {MessageAnswer::Yes};
  openSentMessages([&](SentMessagesWindow& window) {
    // In reading order: the search, the check box beside it, the list.
    waitForTheDatabase();
    QTest::keyClick(window.editHledat, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.checkUkladat);
    QTest::keyClick(window.checkUkladat, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.listZpravy);
    QTest::keyClick(window.listZpravy, Qt::Key_Down);
    QTest::keyClick(window.listZpravy, Qt::Key_Delete);
    waitForTheDatabase();
    EXPECT_EQ(column(*window.listZpravy, 1),
              QStringList({"petr@sms.cz", "Jiřina Malá <jirina@sms.cz>"}));
  });
  EXPECT_EQ(messages.back().text, "Opravdu chcete vybranou zprávu smazat?");
  EXPECT_EQ(messages.back().caption, "Odeslané zprávy");
  EXPECT_EQ(messages.back().buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_EQ(simulator->requests().size(), requestsBefore);

  EXPECT_EQ(recordsInTheFile(), stored.section('\n', 0, 1) + '\n' + stored.section('\n', 3));
  EXPECT_EQ(readFile("movarek.db").find("Druhá zpráva"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(::stat(filePath("movarek.db").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A file that is not the program's database is told once and left as it is; sends go on. What
// the user asks of it is told each time, and what needs it is disabled.
TEST_F(SentMessagesSession, AnUnreadableDatabaseIsToldOnceAndNeverWritten) {
  const std::string foreign(5000, 'x');
  writeFile("movarek.db", foreign);
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  fillEmailSend();
  for (int send = 0; send < 2; ++send) {
    EXPECT_EQ(sendAndWait(main().btnPoslat), "Zpráva odeslána");
  }
  waitForTheDatabase();
  const QString file = QString::fromStdString(filePath("movarek.db"));
  const QString nothingKept =
      "Soubor zůstává, jak je; odeslané zprávy, skupiny a šablony se do ukončení programu "
      "neukládají.";
  const QString told = "Soubor " + file +
                       " nelze přečíst: je poškozený, nebo patří jinému programu.\n" + nothingKept;
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [&](const MessageRequest& message) { return message.text == told; }),
            1);
  emit main().memoText->customContextMenuRequested(QPoint(5, 5));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions()) {
    if (action->text() == "Uložit text jako šablonu" || action->text() == "Šablony…") {
      EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
  }
  menu->close();
  openSentMessages([&](SentMessagesWindow& window) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{window.editHledat, window.checkUkladat, window.listZpravy,
                                         window.btnSmazatVse, window.btnExportovat}) {
      EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_FALSE(window.checkUkladat->isChecked());
    EXPECT_EQ(window.panelStav->text(),
              "Odeslané zprávy, skupiny a šablony se do ukončení programu neukládají.");
  });
  EXPECT_TRUE(readFile("movarek.db") == foreign);
}

// Another program holds the file: the window opens at once and says so, and fills itself once
// the file is free; a send recorded meanwhile is written then.
TEST_F(SentMessagesSession, AFileHeldByAnotherProgramHoldsUpNothing) {
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  fillEmailSend(QStringLiteral("jan@sms.cz"), QStringLiteral("Prvni"));
  EXPECT_EQ(sendAndWait(main().btnPoslat), "Zpráva odeslána");
  ASSERT_TRUE(waitUntil([&] { return recordsInTheFile().count('\n') == 1; }));
  QProcess holder;
  endWithTheTest(holder);
  holder.start(QStringLiteral("sqlite3"), {QString::fromStdString(filePath("movarek.db"))});
  holder.write("BEGIN EXCLUSIVE;\nSELECT 'held';\n");
  ASSERT_TRUE(waitUntil([&] { return holder.readAllStandardOutput().contains("held"); }));
  fillEmailSend(QStringLiteral("eva@sms.cz"), QStringLiteral("Druha"));
  EXPECT_EQ(sendAndWait(main().btnPoslat), "Zpráva odeslána");

  openSentMessages([&](SentMessagesWindow& window) {
    EXPECT_TRUE(waitUntil([&] {
      return window.panelStav->text() ==
             "Databázi právě používá jiný program; záznamy se ukážou, jakmile ji uvolní.";
    }));
    EXPECT_EQ(window.listZpravy->model()->rowCount(), 0);
    holder.write("COMMIT;\n.quit\n");
    waitForTheDatabase();
    EXPECT_EQ(column(*window.listZpravy, 1), QStringList({"eva@sms.cz", "jan@sms.cz"}));
    EXPECT_EQ(window.panelStav->text(), "");
  });
  holder.waitForFinished();
  EXPECT_EQ(holder.exitCode(), 0);
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [](const MessageRequest& message) {
                            return message.text.endsWith(
                                "právě používá jiný program.\nOdeslané zprávy se do něj zapíší, "
                                "jakmile to půjde.");
                          }),
            1);
}

// An outcome kept from the file until the end is told then, and written at the next start.
TEST_F(SentMessagesSession, AnOutcomeHeldFromTheFileAtTheEndIsToldAndWrittenAtTheNextStart) {
  ASSERT_NO_FATAL_FAILURE(restartProgram({QStringLiteral("--delay-ms"), QStringLiteral("3000")}));
  fillEmailSend(QStringLiteral("eva@sms.cz"), QStringLiteral("Druha"));
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  ASSERT_TRUE(
      waitUntil([&] { return recordsInTheFile() == "e-mail|eva@sms.cz||Druha|sending|\n"; }));
  QProcess holder;
  endWithTheTest(holder);
  holder.start(QStringLiteral("sqlite3"), {QString::fromStdString(filePath("movarek.db"))});
  holder.write("BEGIN EXCLUSIVE;\nSELECT 'held';\n");
  ASSERT_TRUE(waitUntil([&] { return holder.readAllStandardOutput().contains("held"); }));
  ASSERT_TRUE(waitUntil([&] { return !messages.empty(); }, 15000));  // "Zpráva odeslána"
  forms.reset();
  const QRegularExpression told(QRegularExpression::anchoredPattern(
      "Soubor " + QRegularExpression::escape(QString::fromStdString(filePath("movarek.db"))) +
      " právě používá jiný program, a tak se do něj nepodařilo zapsat, jak dopadly tyto zprávy:\n"
      "– \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d, eva@sms\\.cz: odesláno\n"
      "Program je do něj zapíše při příštím spuštění\\."));
  EXPECT_TRUE(told.match(messages.back().text).hasMatch()) << messages.back().text.toStdString();
  EXPECT_EQ(messages.back().caption, "Chyba");
  struct stat info {};
  ASSERT_EQ(::stat(filePath("movarek.db-pending").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  holder.write("COMMIT;\n.quit\n");
  holder.waitForFinished();
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  EXPECT_TRUE(waitUntil([&] { return recordsInTheFile() == "e-mail|eva@sms.cz||Druha|sent|\n"; }))
      << recordsInTheFile().toStdString();
  EXPECT_FALSE(fileExists("movarek.db-pending"));
}

// A long history is read a page at a time: the next page only when the list's end is reached.
TEST_F(SentMessagesSession, ALongHistoryIsListedAPageAtATime) {
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  Database(filePath("movarek.db"), programSchema())
      .run(
          "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 250) "
          "INSERT INTO sent_message (sent_at, page, addressees, text, state) "
          "SELECT 1600000000 + x, 'e-mail', 'a' || x || '@sms.cz', 'Text', 'sent' FROM n");
  openSentMessages([&](SentMessagesWindow& window) {
    waitForTheDatabase();
    EXPECT_EQ(window.listZpravy->model()->rowCount(), 100);
    QTest::keyClick(window.listZpravy, Qt::Key_End, Qt::ControlModifier);
    waitForTheDatabase();
    EXPECT_EQ(window.listZpravy->model()->rowCount(), 200);
  });
}

}  // namespace
}  // namespace movarek::testing
