#include "app/qt/help_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <filesystem>

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/qt/maker_window.h"
#include "common/qt/placed_controls.h"
#include "flat/qt/flat_button.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

const std::string kHelpRtf =
    R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fcharset238 Arial;})"
    R"({\f1\fcharset238 Times New Roman;}}{\colortbl;\red0\green0\blue128;})"
    R"(\pard\qc\f1\fs32\b\cf1 N\'e1pov\'ecda\par\pard\plain\f0 Prvn\'ed\line \u345?\'e1dek\par})";

// Long enough to scroll in the window's size.
std::string longHelpRtf() {
  std::string rtf = R"({\rtf1\ansi\ansicpg1250 )";
  for (int line = 1; line <= 200; ++line) rtf += "\\'d8\\'e1dek " + std::to_string(line) + "\\par ";
  return rtf + "}";
}

class HelpWindowTest : public FormsTest {
 protected:
  TfrmNapoveda& help() { return forms->napoveda(); }
  QString helpText() { return help().editNapoveda->toPlainText(); }

  // Opens the help window through `open` and returns the text it showed.
  QString textShownAfter(const std::function<void()>& open) {
    QString shown;
    onModal = [&](QDialog&) {
      shown = helpText();
      return int{QDialog::Rejected};
    };
    open();
    return shown;
  }

  void pressHelpButton() { main().btnNapoveda->click(); }
  void pressF1() { main().Uivatelskpruka1->trigger(); }
};

TEST_F(HelpWindowTest, HelpButtonShowsTheFileReadOnlyAtTheTopWithTheFocusInIt) {
  writeFile("napoveda.rtf", longHelpRtf());
  startProgram();
  QTextEdit* view = help().editNapoveda;
  int openings = 0;
  onModal = [&](QDialog& dialog) {
    ++openings;
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.focusWidget(), view) << "opening " << openings;
    EXPECT_EQ(view->verticalScrollBar()->value(), 0) << "opening " << openings;
    EXPECT_EQ(view->textCursor().position(), 0) << "opening " << openings;
    QTest::keyClicks(view, "abc");
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_TRUE(view->toPlainText().startsWith("Řádek 1\nŘádek 2\n"));
    // Leave it scrolled down with the focus elsewhere: the next opening starts afresh.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    help().Button1->setFocus();
    help().Button1->click();
    return int{QDialog::Rejected};
  };
  pressHelpButton();
  pressHelpButton();
  EXPECT_EQ(openings, 2);
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_TRUE(messages.empty());
}

TEST_F(HelpWindowTest, TheLoadedDocumentKeepsItsFormatting) {
  writeFile("napoveda.rtf", kHelpRtf);
  startProgram();
  pressHelpButton();
  const QTextDocument* document = help().editNapoveda->document();
  ASSERT_EQ(document->blockCount(), 2);
  const QTextBlock heading = document->firstBlock();
  EXPECT_EQ(heading.text(), "Nápověda");
  EXPECT_EQ(heading.blockFormat().alignment(), Qt::AlignHCenter);
  const QTextCharFormat headingFormat = heading.begin().fragment().charFormat();
  EXPECT_EQ(headingFormat.fontWeight(), QFont::Bold);
  EXPECT_EQ(headingFormat.fontFamilies().toStringList(), QStringList{"Times New Roman"});
  EXPECT_EQ(headingFormat.fontPointSize(), 16.0);
  EXPECT_EQ(headingFormat.foreground().color(), QColor(0, 0, 128));
  const QTextBlock body = heading.next();
  EXPECT_EQ(body.text(), QStringLiteral("První\u2028řádek"));
  EXPECT_EQ(body.blockFormat().alignment(), Qt::AlignLeft);
  EXPECT_NE(body.begin().fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST_F(HelpWindowTest, F1ShowsTheBuiltInTextUntilTheFileWasLoadedAndThenTheLastLoadedText) {
  writeFile("napoveda.rtf", R"({\rtf1 Prvni})");
  startProgram();
  const QString builtIn = textShownAfter([this] { pressF1(); });
  EXPECT_TRUE(builtIn.startsWith("SMS Movarek – posílání SMS zdarma\n")) << builtIn.toStdString();
  EXPECT_EQ(textShownAfter([this] { pressHelpButton(); }), "Prvni");
  writeFile("napoveda.rtf", R"({\rtf1 Druha})");
  EXPECT_EQ(textShownAfter([this] { pressF1(); }), "Prvni");
  EXPECT_EQ(shownDialogs.size(), 3u);
}

TEST_F(HelpWindowTest, ReloadButtonShowsTheEditedFileAndKeepsTheTextWhenTheFileIsGone) {
  writeFile("napoveda.rtf", R"({\rtf1 Stara})");
  startProgram();
  onModal = [&](QDialog& dialog) {
    dialog.show();
    writeFile("napoveda.rtf", R"({\rtf1 Nova})");
    help().FlatButton1->click();
    EXPECT_EQ(helpText(), "Nova");
    std::filesystem::remove(filePath("napoveda.rtf"));
    help().FlatButton1->click();
    EXPECT_EQ(helpText(), "Nova");
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
    return int{QDialog::Rejected};
  };
  pressHelpButton();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Cannot open file napoveda.rtf");
  EXPECT_EQ(messages[0].caption, "SMS Movarek");
}

TEST_F(HelpWindowTest, AMissingFileIsReportedAndTheWindowIsNotShown) {
  startProgram();
  pressHelpButton();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Cannot open file napoveda.rtf");
  EXPECT_EQ(messages[0].caption, "SMS Movarek");
  EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(shownDialogs.empty());
}

TEST_F(HelpWindowTest, TheFileIsFoundWhateverTheCurrentFolder) {
  writeFile("napoveda.rtf", kHelpRtf);
  startProgram();
  QTemporaryDir elsewhere;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path().toStdString());
  const QString shown = textShownAfter([this] { pressHelpButton(); });
  std::filesystem::current_path(previous);
  EXPECT_TRUE(shown.startsWith("Nápověda\n")) << shown.toStdString();
  EXPECT_TRUE(messages.empty());
}

TEST_F(HelpWindowTest, EscAndEnterCloseTheMakerContactWindow) {
  startProgram();
  for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    bool closed = false;
    onModal = [&](QDialog& dialog) {
      dialog.show();
      QTest::keyClick(&dialog, key);
      closed = !dialog.isVisible();
      dialog.hide();
      return dialog.result();
    };
    main().btnKontakt->click();
    EXPECT_TRUE(closed) << "key " << key;
  }
  ASSERT_EQ(shownDialogs.size(), 3u);
  EXPECT_EQ(shownDialogs[0], &forms->kontakt());
}

// Every window opens where the desktop would put it: wholly on the screen's free area, its
// frame in the middle of it.
TEST_F(HelpWindowTest, EveryWindowOpensInTheMiddleOfTheScreen) {
  startProgram();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QList<QWidget*> windows{&forms->napoveda(), &forms->kontakt(), &forms->kontakty(),
                                &forms->rychleVolby()};
  for (QWidget* window : windows) {
    const QRect framed(window->pos(), window->size() + kFrameSize);
    EXPECT_TRUE(area.contains(framed)) << window->windowTitle().toStdString();
    EXPECT_LE((framed.center() - area.center()).manhattanLength(), 2)
        << window->windowTitle().toStdString();
  }
}

TEST_F(HelpWindowTest, TheMakerContactWindowShowsTheLogo) {
  startProgram();
  const QLabel* logo = forms->kontakt().Image1;
  EXPECT_EQ(logo->geometry(), QRect(8, 8, 161, 72));
  EXPECT_FALSE(logo->pixmap().isNull());
}

}  // namespace
}  // namespace movarek::testing
