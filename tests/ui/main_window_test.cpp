#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "app/stored_fields.h"
#include "common/qt/clock_deadline.h"
#include "common/qt/memo.h"
#include "forms_fixture.h"
#include "test_clock.h"
#include "webview/qt/web_browser.h"

namespace movarek::testing {
namespace {

using MainWindowTest = FormsTest;

const QString kSentQuestion = QStringLiteral(
    "Zpráva byla úspěšně odeslána na SMS centrum Vertanix.\nChcete vymazat text odeslané zprávy?");

QColor stripColour(TfrmMain& window) {
  return window.panelInfo2->palette().color(QPalette::Window);
}

TEST_F(MainWindowTest, FirstStartWithoutFilesShowsEmptyFieldsOnTheEmailPage) {
  startProgram();
  showMain();
  EXPECT_EQ(main().gotebookPlocha->currentWidget()->objectName(), "SMS");
  EXPECT_EQ(QApplication::focusWidget(), main().memoText);
  EXPECT_TRUE(main().editAdresa->text().isEmpty());
  EXPECT_TRUE(main().memoText->toPlainText().isEmpty());
  EXPECT_EQ(main().comboPredcisliOskar->currentIndex(), -1);
  EXPECT_EQ(main().comboPredcisliOskar->currentText(), "Předčíslí");
  EXPECT_EQ(main().panelMezera->text(), "0 / 1");
  EXPECT_EQ(main().windowTitle(), "SMS Movarek");
  EXPECT_EQ(main().btnSMS->width(), main().panelMenu1->width());
  EXPECT_EQ(stripColour(main()), QColor(205, 222, 248));
}

TEST_F(MainWindowTest, StoredFieldsComeBackAtStartAndAreStoredAtClose) {
  writeFile("padr.dat",
            storedFieldsBytes({"jan@sms.cz; ", StoredFields::Oskar{2, "123456", "777", "654321"}}));
  startProgram();
  EXPECT_EQ(main().editAdresa->text(), "jan@sms.cz; ");
  EXPECT_EQ(main().comboPredcisliOskar->currentIndex(), 2);
  EXPECT_EQ(main().editAdresaOskar->text(), "123456");
  EXPECT_EQ(main().editSenderPredOskar->text(), "777");
  EXPECT_EQ(main().editSenderOskar->text(), "654321");

  main().editAdresa->setText(QStringLiteral("čau@sms.cz"));
  main().editAdresaOskar->setText(QStringLiteral("98765432"));
  main().comboPredcisliOskar->setCurrentIndex(-1);
  EXPECT_TRUE(main().close());
  const std::string stored = readFile("padr.dat");
  ASSERT_EQ(stored.size(), 10016u);
  EXPECT_EQ(stored.substr(0, 11),
            "\xE8"
            "au@sms.cz" +
                std::string(1, '\0'));
  EXPECT_EQ(stored.substr(10000), std::string("\xFF") + "987654" + "777" + "654321");
}

TEST_F(MainWindowTest, APrefixByteThatNamesNoEntryLeavesNoneSelected) {
  writeFile("padr.dat", storedFieldsBytes({"", StoredFields::Oskar{7, "1", "", ""}}));
  startProgram();
  EXPECT_EQ(main().comboPredcisliOskar->currentIndex(), -1);
  EXPECT_EQ(main().editAdresaOskar->text(), "1");
}

TEST_F(MainWindowTest, TabButtonsShowTheirPageFocusAndCount) {
  startProgram();
  showMain();
  main().memoText->setPlainText(QStringLiteral("ab\ncd"));
  main().memoTextOskar->setPlainText(QString(152, QLatin1Char('x')));
  struct Step {
    QPushButton* button;
    const char* page;
    QWidget* focus;
    const char* strip;
  };
  const std::vector<Step> steps = {
      {main().btnEurotel, "Eurotel", main().webEurotel, "-------------"},
      {main().btnOskar, "Oskar", main().memoTextOskar, "152 / 2"},
      {main().btnSMStop, "SMS", main().memoText, "6 / 1"},
  };
  for (const auto& step : steps) {
    QTest::mouseClick(step.button, Qt::LeftButton);
    EXPECT_EQ(main().gotebookPlocha->currentWidget()->objectName(), step.page);
    EXPECT_TRUE(step.button->isChecked());
    EXPECT_TRUE(step.focus->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == step.focus)
        << step.page;
    EXPECT_EQ(main().panelMezera->text(), step.strip) << step.page;
  }
}

TEST_F(MainWindowTest, SideButtonSmsShowsThePageAndItsCountOnly) {
  startProgram();
  showMain();
  main().memoText->setPlainText(QStringLiteral("Ahoj"));
  QTest::mouseClick(main().btnOskar, Qt::LeftButton);
  main().memoTextOskar->setPlainText(QString(200, QLatin1Char('x')));
  ASSERT_EQ(main().panelMezera->text(), "200 / 2");
  QTest::mouseClick(main().btnSMS, Qt::LeftButton);
  EXPECT_EQ(main().gotebookPlocha->currentWidget()->objectName(), "SMS");
  EXPECT_TRUE(main().btnOskar->isChecked());
  EXPECT_TRUE(main().btnSMS->isChecked());
  EXPECT_EQ(main().panelMezera->text(), "4 / 1");
}

TEST_F(MainWindowTest, ClipboardShortcutsActOnTheSixFields) {
  startProgram();
  showMain();
  QTest::mouseClick(main().btnOskar, Qt::LeftButton);
  auto textOf = [](QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->text();
    return static_cast<TMemo*>(field)->toPlainText();
  };
  auto selectionOf = [](QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->selectedText();
    return static_cast<TMemo*>(field)->textCursor().selectedText();
  };
  const std::vector<QWidget*> fields = {
      main().memoText,        main().editAdresa,          main().memoTextOskar,
      main().editAdresaOskar, main().editSenderPredOskar, main().editSenderOskar};
  for (QWidget* field : fields) {
    main().gotebookPlocha->setCurrentWidget(field->parentWidget());
    if (auto* edit = qobject_cast<QLineEdit*>(field))
      edit->setText(QStringLiteral("abc"));
    else
      static_cast<TMemo*>(field)->setPlainText(QStringLiteral("abc"));
    field->setFocus();
    QApplication::clipboard()->clear();

    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectionOf(field), "abc") << field->objectName().toStdString();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(textOf(field), "");
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textOf(field), "abcabc");
    // Undo has no action in the menu, so the key does nothing here either.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(textOf(field), "abcabc");
  }
}

TEST_F(MainWindowTest, ClipboardShortcutsDoNothingOnAButton) {
  startProgram();
  showMain();
  main().editAdresa->setText(QStringLiteral("abc"));
  QApplication::clipboard()->setText(QStringLiteral("kept"));
  main().btnEmailSpeedDials[0]->setFocus();
  for (auto key : {Qt::Key_A, Qt::Key_X, Qt::Key_C}) {
    QTest::keyClick(main().btnEmailSpeedDials[0], key, Qt::ControlModifier);
  }
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_EQ(main().editAdresa->text(), "abc");
  EXPECT_FALSE(main().editAdresa->hasSelectedText());
}

TEST_F(MainWindowTest, RefusedEmailSendShowsWhyAndMovesTheFocus) {
  startProgram();
  showMain();
  main().editSenderOskar->setFocus();
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Není vyplněna adresa!");
  EXPECT_EQ(messages[0].caption, "Chyba!");
  EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(QApplication::focusWidget(), main().editAdresa);
  EXPECT_FALSE(main().timerVypnuti->isActive());
}

TEST_F(MainWindowTest, EnterInTheAddressFieldSends) {
  startProgram();
  showMain();
  fillEmailSend();
  QTest::keyClick(main().editAdresa, Qt::Key_Return);
  gatewayAnswers();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kSentQuestion);
}

TEST_F(MainWindowTest, AnsweringTheQuestion) {
  struct Case {
    MessageAnswer answer;
    QString textAfter;
    QString stripAfter;
  };
  for (const auto& c :
       {Case{MessageAnswer::Yes, "", "0 / 1"}, Case{MessageAnswer::No, "Ahoj", "4 / 1"}}) {
    startProgram();
    showMain();
    fillEmailSend();
    main().editAdresa->setFocus();
    messages.clear();
    answers = {c.answer};
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    EXPECT_TRUE(messages.empty()) << "nothing is asked before the gateway has answered";
    gatewayAnswers();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kSentQuestion);
    EXPECT_EQ(messages[0].caption, "Zpráva odeslána");
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(main().memoText->toPlainText(), c.textAfter);
    EXPECT_EQ(main().panelMezera->text(), c.stripAfter);
    EXPECT_EQ(main().editAdresa->text(), "jan@sms.cz");
    EXPECT_EQ(QApplication::focusWidget(), main().memoText);
    EXPECT_TRUE(main().timerVypnuti->isActive());
    forms.reset();
  }
}

TEST_F(MainWindowTest, OskarSendAndItsRefusals) {
  startProgram();
  showMain();
  QTest::mouseClick(main().btnOskar, Qt::LeftButton);
  main().editAdresaOskar->setText(QStringLiteral("123456"));
  main().memoTextOskar->setPlainText(QStringLiteral("Dobrý den"));
  QTest::keyClick(main().memoTextOskar, Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Vyberte předčíslí!");
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(QApplication::focusWidget(), main().comboPredcisliOskar);

  main().comboPredcisliOskar->setCurrentIndex(1);
  answers = {MessageAnswer::No};
  QTest::mouseClick(main().btnPoslatOskar, Qt::LeftButton);
  gatewayAnswers();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, kSentQuestion);
  EXPECT_EQ(main().memoTextOskar->toPlainText(), "Dobrý den");
  EXPECT_EQ(main().panelMezera->text(), "9 / 1");
  EXPECT_EQ(main().editAdresaOskar->text(), "123456");
  EXPECT_EQ(QApplication::focusWidget(), main().memoTextOskar);
  EXPECT_TRUE(main().timerVypnuti->isActive());
}

TEST_F(MainWindowTest, CtrlPSendsFromTheShownPageOnly) {
  startProgram();
  showMain();
  fillEmailSend(QStringLiteral("a@b"), QStringLiteral("x"));
  QTest::mouseClick(main().btnEurotel, Qt::LeftButton);
  QTest::keyClick(&main(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(main().timerVypnuti->isActive());

  QTest::mouseClick(main().btnSMStop, Qt::LeftButton);
  QTest::keyClick(main().memoText, Qt::Key_P, Qt::ControlModifier);
  gatewayAnswers();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, kSentQuestion);

  QTest::mouseClick(main().btnOskar, Qt::LeftButton);
  QTest::keyClick(main().memoTextOskar, Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "Není vyplněno číslo!");
}

TEST_F(MainWindowTest, CloseGuard) {
  TestClock clock;
  startProgram();
  showMain();
  fillEmailSend(QStringLiteral("a@b"), QStringLiteral("x"));
  main().btnPoslatClick();
  gatewayAnswers();
  EXPECT_EQ(stripColour(main()), QColor(255, 255, 0));
  messages.clear();

  EXPECT_FALSE(main().close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Program půjde vypnout za nekolik vteřin, až pruh nápovědy zmodrá.");
  EXPECT_EQ(messages[0].caption, "Program nelze vypnout");
  EXPECT_TRUE(main().isVisible());
  EXPECT_FALSE(fileExists("padr.dat"));

  clock.moveOn(9);
  EXPECT_TRUE(main().timerVypnuti->isActive());
  EXPECT_EQ(stripColour(main()), QColor(255, 255, 0));
  clock.moveOn(1);
  EXPECT_FALSE(main().timerVypnuti->isActive());
  EXPECT_EQ(stripColour(main()), QColor(205, 222, 248));
  EXPECT_TRUE(main().close());
  EXPECT_EQ(readFile("padr.dat").substr(0, 4), std::string("a@b\0", 4));
}

TEST_F(MainWindowTest, AFailedSendIsToldAndKeepsTheText) {
  startProgram();
  showMain();
  fillEmailSend();
  main().editAdresa->setFocus();
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  // A second press while the first is under way sends nothing more.
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  QTest::keyClick(main().editAdresa, Qt::Key_P, Qt::ControlModifier);
  // Closing would cut the request off.
  EXPECT_EQ(stripColour(main()), QColor(255, 255, 0));
  EXPECT_FALSE(main().close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Program nelze vypnout");
  messages.clear();
  gatewayAnswers(LoadFailure{LoadFailure::Kind::HttpStatus, 503});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Zprávu se nepodařilo odeslat na SMS centrum Vertanix (chyba serveru 503).\n"
            "Text zprávy zůstává v okně, můžete ji zkusit odeslat znovu.");
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj");
  EXPECT_EQ(main().panelMezera->text(), "4 / 1");
  EXPECT_EQ(QApplication::focusWidget(), main().memoText);
  EXPECT_FALSE(main().timerVypnuti->isActive());
  EXPECT_EQ(stripColour(main()), QColor(205, 222, 248));

  // The page can send again, and the Oskar page was never held up.
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  gatewayAnswers();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, kSentQuestion);
}

TEST_F(MainWindowTest, EveryMessageFieldHoldsItsLimitForTypingAndPasting) {
  startProgram();
  showMain();
  for (TMemo* memo : {main().memoText, main().memoTextOskar}) {
    const int limit = memo->maxLength();
    main().gotebookPlocha->setCurrentWidget(memo->parentWidget());
    memo->setFocus();
    memo->setPlainText(QString(limit - 2, QLatin1Char('a')));
    memo->moveCursor(QTextCursor::End);
    // A line break counts two: it still fits, and then nothing more does.
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_B);
    EXPECT_EQ(windowsLength(memo->toPlainText()), limit);
    EXPECT_TRUE(memo->toPlainText().endsWith(QLatin1Char('\n')));
    // AltGr, which some desktops report as Ctrl+Alt, types "@" as far as the limit lets it.
    for (const auto altGr :
         {Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers(Qt::GroupSwitchModifier)}) {
      QTest::keyClick(memo, '@', altGr);
      EXPECT_EQ(windowsLength(memo->toPlainText()), limit);
    }
    memo->setPlainText(QString(limit - 1, QLatin1Char('a')));
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, '@', Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(memo, '#', Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(memo->toPlainText(), QString(limit - 1, QLatin1Char('a')) + "@");

    memo->setPlainText(QString(limit - 3, QLatin1Char('a')));
    memo->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QStringLiteral("xyz123"));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), QString(limit - 3, QLatin1Char('a')) + "xyz");

    // A selection makes room for what replaces it.
    memo->selectAll();
    QApplication::clipboard()->setText(QString(limit + 50, QLatin1Char('p')));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), QString(limit, QLatin1Char('p')));
  }
  EXPECT_EQ(main().panelMezera->text(), "760 / 6");
}

TEST_F(MainWindowTest, TheEurotelPageCoversItsNoticeOnceItsFirstDocumentIsComplete) {
  startProgram();
  EXPECT_EQ(main().webEurotel->width(), 0);
  EXPECT_EQ(main().panelWebEurotel->text(), "Stránka se načítá, prosím vyčkejte...");
  EXPECT_EQ(main().panelWebEurotel->font().pixelSize(), 17);
  EXPECT_TRUE(main().panelWebEurotel->font().bold());
  emit main().webEurotel->DocumentComplete();
  // Also while another page is shown.
  EXPECT_EQ(main().webEurotel->geometry(), main().panelWebEurotel->rect());
  emit main().webEurotel->DocumentComplete();
  EXPECT_EQ(main().webEurotel->geometry(), QRect(0, 0, 369, 179));
}

TEST_F(MainWindowTest, CounterFollowsEveryChange) {
  startProgram();
  showMain();
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ř"));
  QApplication::sendEvent(main().memoText, &typed);
  EXPECT_EQ(main().panelMezera->text(), "1 / 1");
  QTest::keyClick(main().memoText, Qt::Key_Return);
  QTest::keyClicks(main().memoText, QStringLiteral("a"));
  EXPECT_EQ(main().panelMezera->text(), "4 / 1");
  main().memoText->clear();
  EXPECT_EQ(main().panelMezera->text(), "0 / 1");
}

// The maker's address opened by the desktop; where nothing can open it, the user is told which
// address to open by hand.
TEST_F(MainWindowTest, AnAddressNothingCanOpenIsToldToOpenByHand) {
  const QString told =
      "Adresu se nepodařilo otevřít: v počítači chybí program, který by ji otevřel.\nOtevřete "
      "ji prosím sami (adresu můžete z této zprávy zkopírovat):\n\nhttp://www.vertanix.cz/";
  struct Case {
    const char* opener;  // the xdg-open on the path, none when empty
    bool toldByHand;
  };
  const QByteArray path = qgetenv("PATH");
  startProgram();
  // One that opens it first: its end comes before the next one's, and nothing is told of it.
  for (const auto& c : {Case{"echo opened > \"$0.done\"", false}, Case{"", true},
                        Case{"exit 3", true}, Case{"exit 4", true}}) {
    QTemporaryDir bin;
    const QString opener = bin.filePath(QStringLiteral("xdg-open"));
    if (*c.opener) {
      QFile script(opener);
      ASSERT_TRUE(script.open(QIODevice::WriteOnly));
      script.write(QByteArray("#!/bin/sh\n") + c.opener + "\n");
      script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(bin.path()));
    messages.clear();
    QTest::mouseClick(main().btnVertanix, Qt::LeftButton);
    if (c.toldByHand) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); })) << c.opener;
      EXPECT_EQ(messages,
                (std::vector<MessageRequest>{{told, QStringLiteral("Chyba"), MessageButtons::Ok}}));
    } else {
      EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(opener + ".done"); }));
    }
  }
  qputenv("PATH", path);
}

}  // namespace
}  // namespace movarek::testing
