#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "common/qt/clock_deadline.h"
#include "common/qt/memo.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

using SendOutcomeTest = FormsTest;

// The sends a hidden browser has under way: the start-up request, refused at once by the
// tests' gateway, may have ended by then or not.
QStringList sendsUnderWay(const TCppWebBrowser& browser) {
  QStringList sends;
  for (const WebLoad* load : browser.loadsUnderWay()) {
    const QString url = load->url().toString(QUrl::FullyEncoded);
    if (!url.endsWith(QStringLiteral("go=pricti113"))) sends << url;
  }
  return sends;
}

void typeInto(QWidget* field, const QString& text) {
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(field, &typed);
}

TEST_F(SendOutcomeTest, AnAnswerWhileAnotherPageIsShownLeavesThatPageAsTheUserHasIt) {
  struct Case {
    const char* page;
    QString strip;
  };
  for (const auto& c : {Case{"Eurotel", "-------------"}, Case{"Oskar", "3 / 1"}}) {
    startProgram();
    showMain();
    fillEmailSend();
    main().memoTextOskar->setPlainText(QStringLiteral("abc"));
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    QTest::mouseClick(c.page == QLatin1String("Eurotel") ? main().btnEurotel : main().btnOskar,
                      Qt::LeftButton);
    QWidget* focused = QApplication::focusWidget();
    answers = {MessageAnswer::Yes};
    gatewayAnswers();
    EXPECT_EQ(main().gotebookPlocha->currentWidget()->objectName(), c.page);
    EXPECT_EQ(main().panelMezera->text(), c.strip) << c.page;
    EXPECT_EQ(QApplication::focusWidget(), focused) << c.page;
    EXPECT_EQ(main().memoText->toPlainText(), "") << c.page;
    // Back on the page that sent, its count is right.
    QTest::mouseClick(main().btnSMStop, Qt::LeftButton);
    EXPECT_EQ(main().panelMezera->text(), "0 / 1") << c.page;
    forms.reset();
  }
}

TEST_F(SendOutcomeTest, YesKeepsTextTypedAfterThePress) {
  startProgram();
  showMain();
  fillEmailSend();
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  main().memoText->moveCursor(QTextCursor::End);
  QTest::keyClicks(main().memoText, QStringLiteral(" Evo"));
  answers = {MessageAnswer::Yes};
  gatewayAnswers();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Zpráva odeslána");
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj Evo");
  EXPECT_EQ(main().panelMezera->text(), "8 / 1");
}

TEST_F(SendOutcomeTest, TabAndCharactersOutsideThePlaneKeepTheLimit) {
  startProgram();
  showMain();
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  const std::pair<TMemo*, QString> memos[] = {{main().memoText, "714 / 5"},
                                              {main().memoTextOskar, "760 / 6"}};
  for (const auto& [memo, stripAtTheLimit] : memos) {
    const int limit = memo->maxLength();
    main().gotebookPlocha->setCurrentWidget(memo->parentWidget());
    memo->setFocus();
    memo->setPlainText(QString(limit - 1, QLatin1Char('a')));
    memo->moveCursor(QTextCursor::End);

    // Tab moves on and types nothing.
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->text(), QString(limit - 1, QLatin1Char('a')));

    // The one place left takes an emoji whole, which then counts one; then nothing fits.
    memo->setFocus();
    typeInto(memo, emoji);
    typeInto(memo, emoji);
    EXPECT_EQ(memo->text(), QString(limit - 1, QLatin1Char('a')) + emoji);
    EXPECT_EQ(windowsLength(memo->text()), limit);
    EXPECT_EQ(main().panelMezera->text(), stripAtTheLimit);

    // A pasted tab stays text and counts one.
    memo->setPlainText(QString(limit - 1, QLatin1Char('a')));
    memo->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QStringLiteral("\tb"));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->text(), QString(limit - 1, QLatin1Char('a')) + "\t");
  }
}

TEST_F(SendOutcomeTest, ANoBreakSpaceTravelsAsItsOwnByte) {
  startProgram();
  showMain();
  main().editAdresa->setText(QStringLiteral("jan@sms.cz"));
  main().memoText->setPlainText(
      QString::fromUtf8("Dobr\xC3\xBD\xC2\xA0"
                        "den"));
  EXPECT_EQ(main().panelMezera->text(), "9 / 1");
  QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
  EXPECT_EQ(sendsUnderWay(*main().CppWebBrowser1),
            QStringList{"http://127.0.0.1:9/send_sms.php?go=sms2&adr=jan@sms.cz"
                        "&zprava=Dobry%A0den"});
}

// Typed, the list is shorter than a request carries; sent, each "+" is three bytes.
TEST_F(SendOutcomeTest, AnAddressListLongerAsSentThanARequestCarriesIsRefusedWithNothingSent) {
  startProgram();
  showMain();
  QString list;
  for (int i = 100; i < 240; ++i) list += QStringLiteral("jan+%1@x.cz; ").arg(i);
  ASSERT_EQ(list.size(), 1960);
  main().editAdresa->setText(list);
  main().memoText->setPlainText(QStringLiteral("Ahoj"));
  main().memoText->setFocus();
  QTest::keyClick(main().memoText, Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Seznam adres je příliš dlouhý (2100 znaků), jedna zpráva pojme adresy o délce "
            "nejvýše 1999 znaků. Některé znaky (\"+\", \"%\", \"&\", \"#\" a podobné) se "
            "počítají za tři.\nOdeberte některé adresy a zprávu zbylým adresátům pošlete zvlášť.");
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(QApplication::focusWidget(), main().editAdresa);
  EXPECT_EQ(sendsUnderWay(*main().CppWebBrowser1), QStringList{});
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj");
  EXPECT_EQ(main().editAdresa->text(), list);
  EXPECT_FALSE(main().timerVypnuti->isActive());
}

}  // namespace
}  // namespace movarek::testing
