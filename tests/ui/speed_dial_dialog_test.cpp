#include "addressbook/qt/speed_dial_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "addressbook/speed_dials.h"
#include "common/qt/memo.h"
#include "common/qt/qt_text.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

class SpeedDialDialogTest : public FormsTest {
 protected:
  // A file with the e-mail entries "e1".."e4" and the given Oskar entries.
  void writeSpeedDials(const std::array<std::string, 4>& oskar) {
    SpeedDialTable table;
    for (int i = 0; i < 4; ++i) {
      table.setEntry(SpeedDialBlock::Email, i, "e" + std::to_string(i + 1));
      table.setEntry(SpeedDialBlock::Oskar, i, oskar[i]);
    }
    writeFile(kSpeedDialsFile, table.fileBytes());
  }

  TfrmRychleVolby& dialog() { return forms->rychleVolby(); }

  void openSpeedDials(const std::function<void(TfrmRychleVolby&)>& work) {
    onModal = [&](QDialog& shown) {
      EXPECT_EQ(&shown, &dialog());
      work(dialog());
      return shown.result();
    };
    main().btnRychleVolbyClick();
    onModal = nullptr;
  }

  QStringList edits() {
    QStringList texts;
    for (QLineEdit* edit : dialog().editRV) texts << edit->text();
    return texts;
  }

  void type(const QStringList& texts) {
    for (int i = 0; i < 4; ++i) dialog().editRV[i]->setText(texts[i]);
  }

  QStringList hints(const std::array<QPushButton*, 4>& buttons) {
    QStringList texts;
    for (QPushButton* button : buttons) texts << button->toolTip();
    return texts;
  }
};

TEST_F(SpeedDialDialogTest, WithoutAFileEmailButtonEmptiesTheAddressAndOskarButtonDoesNothing) {
  startProgram();
  main().editAdresa->setText("stará@adresa");
  main().btnEmailSpeedDials[0]->click();
  EXPECT_EQ(main().editAdresa->text(), "");
  EXPECT_EQ(main().focusWidget(), main().memoText);

  main().editAdresaOskar->setText("111111");
  main().btnOskarSpeedDials[0]->click();
  EXPECT_EQ(main().editAdresaOskar->text(), "111111");
  EXPECT_EQ(main().comboPredcisliOskar->currentIndex(), -1);
  EXPECT_EQ(main().focusWidget(), main().memoText);
  EXPECT_EQ(hints(main().btnEmailSpeedDials), QStringList({"", "", "", ""}));
}

TEST_F(SpeedDialDialogTest, ButtonsPutTheirEntriesAndShowThemAsHints) {
  writeSpeedDials({"776123456", "+420777123456", "775123", "608000001999"});
  startProgram();
  EXPECT_EQ(hints(main().btnEmailSpeedDials), QStringList({"e1", "e2", "e3", "e4"}));
  EXPECT_EQ(hints(main().btnOskarSpeedDials),
            QStringList({"776123456", "+420777123456", "775123", "608000001999"}));

  main().btnEmailSpeedDials[2]->click();
  EXPECT_EQ(main().editAdresa->text(), "e3");

  struct Case {
    int button;
    QString prefix;  // empty: nothing changes
    QString number;
  };
  const Case cases[] = {
      {0, "+420 776", "123456"}, {1, "", ""}, {2, "+420 775", "123"}, {3, "+420 608", "000001"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    main().comboPredcisliOskar->setCurrentIndex(-1);
    main().editAdresaOskar->clear();
    main().memoText->setFocus();
    main().btnOskarSpeedDials[c.button]->click();
    EXPECT_EQ(main().comboPredcisliOskar->currentIndex() >= 0
                  ? main().comboPredcisliOskar->currentText()
                  : QString(),
              c.prefix);
    EXPECT_EQ(main().editAdresaOskar->text(), c.number);
    EXPECT_EQ(main().focusWidget(),
              c.prefix.isEmpty() ? static_cast<QWidget*>(main().memoText) : main().memoTextOskar);
  }
}

TEST_F(SpeedDialDialogTest, OkStoresTheShownBlockAndWritesTheWholeFile) {
  writeSpeedDials({"", "", "", ""});
  startProgram();
  openSpeedDials([this](TfrmRychleVolby& d) {
    EXPECT_TRUE(d.btnRV1->isChecked());
    EXPECT_EQ(edits(), QStringList({"e1", "e2", "e3", "e4"}));
    d.btnRV2->click();
    EXPECT_EQ(edits(), QStringList({"", "", "", ""}));
    type({"777111111", "", "", QString(250, '9')});
    d.btnOK->click();
  });
  const std::string file = readFile(kSpeedDialsFile);
  ASSERT_EQ(file.size(), 1600u);
  EXPECT_EQ(file.substr(800, 10), std::string("777111111\0", 10));
  EXPECT_EQ(file.substr(1400, 198), std::string(197, '9') + '\0');
  EXPECT_EQ(hints(main().btnOskarSpeedDials),
            QStringList({"777111111", "", "", QString(197, '9')}));
}

TEST_F(SpeedDialDialogTest, StornoAfterASwitchKeepsTheSwitchedEditsInMemoryOnly) {
  writeSpeedDials({"", "", "", ""});
  startProgram();
  const std::string before = readFile(kSpeedDialsFile);
  openSpeedDials([this](TfrmRychleVolby& d) {
    type({"nova1", "nova2", "nova3", "nova4"});
    d.btnRV2->click();
    d.editRV[0]->setText("napsáno, nestisknuto OK");
    d.btnStorno->click();
  });
  main().btnEmailSpeedDials[0]->click();
  EXPECT_EQ(main().editAdresa->text(), "nova1");
  EXPECT_EQ(hints(main().btnEmailSpeedDials), QStringList({"e1", "e2", "e3", "e4"}));
  EXPECT_EQ(readFile(kSpeedDialsFile), before);

  // The next opening shows the Oskar block, as the table holds it.
  openSpeedDials([this](TfrmRychleVolby& d) {
    EXPECT_TRUE(d.btnRV2->isChecked());
    EXPECT_EQ(edits(), QStringList({"", "", "", ""}));
    d.btnRV1->click();
    EXPECT_EQ(edits(), QStringList({"nova1", "nova2", "nova3", "nova4"}));
  });
}

TEST_F(SpeedDialDialogTest, PressingTheModeThatIsDownKeepsTheEditsAsTyped) {
  writeSpeedDials({"", "", "", ""});
  startProgram();
  openSpeedDials([this](TfrmRychleVolby& d) {
    type({"a", "b", "c", "d"});
    d.btnRV1->click();
    EXPECT_TRUE(d.btnRV1->isChecked());
    EXPECT_EQ(edits(), QStringList({"a", "b", "c", "d"}));
    d.btnStorno->click();
  });
  main().btnEmailSpeedDials[0]->click();
  EXPECT_EQ(main().editAdresa->text(), "e1");
}

TEST_F(SpeedDialDialogTest, CtrlROpensTheDialog) {
  startProgram();
  main().Rychlvolby1->trigger();
  EXPECT_EQ(shownDialogs, std::vector<QDialog*>({&dialog()}));
  EXPECT_EQ(dialog().windowTitle(), "Rychlé volby");
  EXPECT_EQ(dialog().size(), QSize(485, 225));
  EXPECT_TRUE(dialog().btnOK->isDefault());
}

TEST_F(SpeedDialDialogTest, TheModeButtonsTakeNoFocusSoEnterStoresAndCloses) {
  startProgram();
  bool closed = false;
  openSpeedDials([&](TfrmRychleVolby& d) {
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.editRV[0]->setFocus();
    QTest::mouseClick(d.btnRV2, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), d.editRV[0]);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("776123456"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    closed = !d.isVisible();
  });
  EXPECT_TRUE(closed);
  const std::string stored = readFile(kSpeedDialsFile);
  ASSERT_EQ(stored.size(), 1600u);
  EXPECT_EQ(stored.substr(800, 10), std::string("776123456\0", 10));
}

}  // namespace
}  // namespace movarek::testing
