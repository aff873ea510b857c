#include "addressbook/qt/contacts_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <deque>
#include <optional>

#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_groups_panel.h"
#include "common/qt/memo.h"
#include "common/qt/qt_text.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

struct Contact {
  QString name;
  QString address;
  QString phone;
};

class ContactsDialogTest : public FormsTest {
 protected:
  void writeContacts(const std::vector<Contact>& contacts) {
    ContactBook book;
    for (const auto& c : contacts)
      book.add(toCp1250(c.name), toCp1250(c.address), toCp1250(c.phone));
    writeFile(kContactsFile, book.fileBytes());
  }

  TfrmKontakty& dialog() { return forms->kontakty(); }

  // Opens the dialog as the side button does and lets `work` act in it while it is shown.
  // Gives what the dialog closed with, or nothing when it is still open afterwards.
  std::optional<int> openContacts(const std::function<void(TfrmKontakty&)>& work) {
    std::optional<int> closedWith;
    onModal = [&](QDialog& shown) {
      EXPECT_EQ(&shown, &dialog());
      const auto closing = QObject::connect(&shown, &QDialog::finished,
                                            [&closedWith](int result) { closedWith = result; });
      work(dialog());
      QObject::disconnect(closing);
      return shown.result();
    };
    main().btnKontaktyClick();
    onModal = nullptr;
    return closedWith;
  }

  QStringList listed() {
    QStringList names;
    for (int row = 0; row < dialog().listboxJmena->count(); ++row) {
      names << dialog().listboxJmena->item(row)->text();
    }
    return names;
  }

  QList<int> marked() {
    QList<int> rows;
    for (int row = 0; row < dialog().listboxJmena->count(); ++row) {
      if (dialog().listboxJmena->item(row)->checkState() == Qt::Checked) rows << row;
    }
    return rows;
  }

  void mark(int row) { dialog().listboxJmena->item(row)->setCheckState(Qt::Checked); }

  QStringList fields() {
    return {dialog().editJmeno->text(), dialog().editAdresa->text(), dialog().editTelefon->text()};
  }
};

const std::vector<Contact> kThree = {{"Auto", "auto@sms.cz", "777000001"},
                                     {"Banka", "banka@sms.cz", "776123456"},
                                     {"Cukrárna", "cukr@sms.cz", "602000000"}};

TEST_F(ContactsDialogTest, EmptyBookShowsNothingAndOkEmptiesTheAddressField) {
  startProgram();
  main().editAdresa->setText("stará@adresa");
  const auto closed = openContacts([this](TfrmKontakty& d) {
    EXPECT_EQ(d.listboxJmena->count(), 0);
    EXPECT_EQ(fields(), QStringList({"", "", ""}));
    EXPECT_EQ(d.focusWidget(), d.listboxJmena);
    d.btnOK->click();
  });
  EXPECT_EQ(closed, QDialog::Accepted);
  EXPECT_EQ(main().editAdresa->text(), "");
  EXPECT_EQ(main().focusWidget(), main().memoText);
}

TEST_F(ContactsDialogTest, OpeningShowsTheFirstContact) {
  writeContacts(kThree);
  startProgram();
  openContacts([this](TfrmKontakty& d) {
    EXPECT_EQ(listed(), QStringList({"Auto", "Banka", "Cukrárna"}));
    EXPECT_EQ(d.listboxJmena->currentRow(), 0);
    EXPECT_EQ(fields(), QStringList({"Auto", "auto@sms.cz", "777000001"}));
    QTest::keyClick(d.listboxJmena, Qt::Key_Down);
    EXPECT_EQ(fields(), QStringList({"Banka", "banka@sms.cz", "776123456"}));
  });
}

TEST_F(ContactsDialogTest, OkOnTheEmailPageTakesMarkedAddressesOrTheShownOne) {
  struct Case {
    const char* what;
    std::vector<int> marks;
    QString typed;  // replaces the dialog's address field when not null
    QString expected;
  };
  const Case cases[] = {
      {"two marked", {0, 2}, {}, "auto@sms.cz; cukr@sms.cz; "},
      {"none marked", {}, {}, "auto@sms.cz"},
      {"none marked, edited", {}, "jina@sms.cz", "jina@sms.cz"},
      {"none marked, long", {}, QString(120, 'x'), QString(99, 'x')},
      {"marked win over edited", {1}, "jina@sms.cz", "banka@sms.cz; "},
  };
  writeContacts(kThree);
  startProgram();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto closed = openContacts([&](TfrmKontakty& d) {
      d.btnOdznacitVse->click();
      for (int row : c.marks) mark(row);
      if (!c.typed.isNull()) d.editAdresa->setText(c.typed);
      d.btnOK2->click();
    });
    EXPECT_EQ(closed, QDialog::Accepted);
    EXPECT_EQ(main().editAdresa->text(), c.expected);
  }
}

TEST_F(ContactsDialogTest, MarkedAddressesStopOnceTheyPass9500Characters) {
  std::vector<Contact> hundred;
  for (int i = 0; i < 100; ++i) {
    const QString number = QStringLiteral("%1").arg(i, 3, 10, QChar('0'));
    hundred.push_back({"Kontakt " + number, number + QString(94, 'a'), ""});
  }
  writeContacts(hundred);
  startProgram();
  openContacts([](TfrmKontakty& d) {
    d.btnOznacitVse->click();
    d.btnOK->click();
  });
  const QString text = main().editAdresa->text();
  EXPECT_EQ(text.size(), 96 * 99);
  EXPECT_TRUE(text.endsWith("095" + QString(94, 'a') + "; "));
}

TEST_F(ContactsDialogTest, OkOnTheOskarPageTakesTheShownTelephone) {
  writeContacts(kThree);
  startProgram();
  main().btnOskarClick();
  main().editAdresa->setText("beze změny");
  const auto closed = openContacts([this](TfrmKontakty& d) {
    mark(0);
    d.listboxJmena->setCurrentRow(1);  // Banka, 776123456
    d.btnOK->click();
  });
  EXPECT_EQ(closed, QDialog::Accepted);
  EXPECT_EQ(main().comboPredcisliOskar->currentText(), "+420 776");
  EXPECT_EQ(main().editAdresaOskar->text(), "123456");
  EXPECT_EQ(main().focusWidget(), main().memoTextOskar);
  EXPECT_EQ(main().editAdresa->text(), "beze změny");

  // A number of another network is not taken; the dialog closes all the same.
  const auto closedAgain = openContacts([](TfrmKontakty& d) {
    d.listboxJmena->setCurrentRow(2);  // Cukrárna, 602000000
    d.btnOK->click();
  });
  EXPECT_EQ(closedAgain, QDialog::Accepted);
  EXPECT_EQ(main().comboPredcisliOskar->currentText(), "+420 776");
  EXPECT_EQ(main().editAdresaOskar->text(), "123456");
}

TEST_F(ContactsDialogTest, OnTheEurotelPageOnlyStornoCloses) {
  writeContacts(kThree);
  startProgram();
  main().btnEurotelClick();
  main().editAdresa->setText("beze změny");
  bool stillOpen = false;
  const auto closed = openContacts([&](TfrmKontakty& d) {
    QSignalSpy finished(&d, &QDialog::finished);
    d.btnOK->click();
    d.btnOK2->click();
    d.listboxJmenaDblClick();
    stillOpen = finished.isEmpty();
    d.btnStorno->click();
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(closed, QDialog::Rejected);
  EXPECT_EQ(main().editAdresa->text(), "beze změny");
}

TEST_F(ContactsDialogTest, DoubleClickTakesTheEntryUnlessOthersAreMarked) {
  writeContacts(kThree);
  startProgram();
  auto doubleClick = [](TfrmKontakty& d, int row) {
    d.show();
    QListWidget* list = d.listboxJmena;
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  };
  const auto closed = openContacts([&](TfrmKontakty& d) { doubleClick(d, 1); });
  EXPECT_EQ(closed, QDialog::Accepted);
  EXPECT_EQ(main().editAdresa->text(), "banka@sms.cz");

  openContacts([&](TfrmKontakty& d) {
    mark(0);
    mark(2);
    doubleClick(d, 1);
  });
  EXPECT_EQ(main().editAdresa->text(), "auto@sms.cz; cukr@sms.cz; ");
}

TEST_F(ContactsDialogTest, DeletingAsksAndOnYesRemovesFromListAndFile) {
  writeContacts(kThree);
  startProgram();
  const std::string before = readFile(kContactsFile);
  openContacts([&](TfrmKontakty& d) {
    d.listboxJmena->setCurrentRow(1);
    answers = {MessageAnswer::No};
    d.btnSmazat->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Opravdu chcete tento kontakt vymazat?");
    EXPECT_EQ(messages[0].caption, "Vymazání kontaktu");
    EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(listed(), QStringList({"Auto", "Banka", "Cukrárna"}));
    EXPECT_EQ(readFile(kContactsFile), before);

    answers = {MessageAnswer::Yes};
    d.btnSmazat->click();
    EXPECT_EQ(listed(), QStringList({"Auto", "Cukrárna"}));
    EXPECT_EQ(d.listboxJmena->currentRow(), 0);
    EXPECT_EQ(fields(), QStringList({"Auto", "auto@sms.cz", "777000001"}));
    EXPECT_EQ(d.focusWidget(), d.listboxJmena);
  });
  const std::string after = readFile(kContactsFile);
  ASSERT_EQ(after.size(), 502u);
  EXPECT_EQ(after.substr(252, 8), std::string("Cukr\xE1rna", 8));
}

TEST_F(ContactsDialogTest, DeletingTheOnlyContactLeavesAnEmptyBook) {
  writeContacts({{"Pošta", "posta@sms.cz", ""}});
  startProgram();
  openContacts([this](TfrmKontakty& d) {
    answers = {MessageAnswer::Yes};
    d.btnSmazat->click();
    EXPECT_EQ(d.listboxJmena->count(), 0);
    EXPECT_EQ(fields(), QStringList({"", "", ""}));
  });
  EXPECT_EQ(readFile(kContactsFile), std::string("\0\0", 2));
}

TEST_F(ContactsDialogTest, RenamedContactStaysSelectedAtItsNewPlace) {
  writeContacts(kThree);
  startProgram();
  openContacts([this](TfrmKontakty& d) {
    d.editJmeno->setText("Zoo");
    d.btnUlozit->click();
    EXPECT_EQ(listed(), QStringList({"Banka", "Cukrárna", "Zoo"}));
    EXPECT_EQ(d.listboxJmena->currentRow(), 2);
    EXPECT_EQ(fields(), QStringList({"Zoo", "auto@sms.cz", "777000001"}));
    EXPECT_EQ(d.focusWidget(), d.listboxJmena);
  });
  EXPECT_EQ(readFile(kContactsFile).substr(502, 4), std::string("Zoo\0", 4));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ContactsDialogTest, AddingClearsMarksAndLeavesNothingSelected) {
  writeContacts(kThree);
  startProgram();
  openContacts([this](TfrmKontakty& d) {
    mark(1);
    d.editJmeno->setText("Drogerie");
    d.editAdresa->setText("drogerie@sms.cz");
    d.btnNovy->click();
    EXPECT_EQ(listed(), QStringList({"Auto", "Banka", "Cukrárna", "Drogerie"}));
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_EQ(d.listboxJmena->currentRow(), -1);
    EXPECT_EQ(fields(), QStringList({"Drogerie", "drogerie@sms.cz", "777000001"}));

    const std::string stored = readFile(kContactsFile);
    d.editJmeno->setText("Změna");
    d.btnUlozit->click();
    d.btnSmazat->click();
    EXPECT_EQ(listed(), QStringList({"Auto", "Banka", "Cukrárna", "Drogerie"}));
    EXPECT_EQ(readFile(kContactsFile), stored);
    EXPECT_TRUE(messages.empty());
  });
  EXPECT_EQ(readFile(kContactsFile).size(), 1002u);
}

TEST_F(ContactsDialogTest, MarksSurviveReopeningAndStornoHandsNothing) {
  writeContacts(kThree);
  startProgram();
  main().editAdresa->setText("beze změny");
  const auto closed = openContacts([this](TfrmKontakty& d) {
    mark(2);
    d.listboxJmena->setCurrentRow(1);
    d.editJmeno->setText("napsáno, neuloženo");
    d.btnStorno->click();
  });
  EXPECT_EQ(closed, QDialog::Rejected);
  EXPECT_EQ(main().editAdresa->text(), "beze změny");
  openContacts([this](TfrmKontakty& d) {
    EXPECT_EQ(marked(), QList<int>({2}));
    EXPECT_EQ(d.listboxJmena->currentRow(), 0);
    EXPECT_EQ(fields(), QStringList({"Auto", "auto@sms.cz", "777000001"}));
  });
}

TEST_F(ContactsDialogTest, FullBookRefusesTheNewContact) {
  std::string full("\xE8\x03", 2);
  full += std::string(250 * 1000, '\0');
  writeFile(kContactsFile, full);
  startProgram();
  openContacts([this](TfrmKontakty& d) {
    d.editJmeno->setText("Navíc");
    d.btnNovy->click();
    EXPECT_EQ(d.listboxJmena->count(), 1000);
  });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Maximální kapacity 1000 kontaktů již bylo dosaženo a nelze vkládat další položky!");
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(readFile(kContactsFile), full);
}

TEST_F(ContactsDialogTest, CtrlKOpensTheDialog) {
  startProgram();
  main().Kontakty1->trigger();
  EXPECT_EQ(shownDialogs, std::vector<QDialog*>({&dialog()}));
}

TEST_F(ContactsDialogTest, DialogIsAFixedSizeWindowWithItsCaptions) {
  startProgram();
  EXPECT_EQ(dialog().windowTitle(), "Kontakty");
  // The groups below, what was drawn in its places.
  EXPECT_EQ(dialog().size(), QSize(588, 372));
  EXPECT_EQ(dialog().minimumSize(), dialog().maximumSize());
  EXPECT_EQ(dialog().btnOK->geometry(), QRect(424, 276, 75, 25));
  EXPECT_EQ(dialog().listboxJmena->geometry(), QRect(8, 8, 237, 273));
  EXPECT_EQ(dialog().panelSkupiny->listSkupiny->accessibleName(), "Skupiny");
  EXPECT_EQ(dialog().panelSkupiny->btnUlozitSkupinu->text(), "Uložit označené jako skupinu…");
  EXPECT_EQ(dialog().panelSkupiny->btnPrejmenovatSkupinu->text(), "Přejmenovat skupinu…");
  EXPECT_EQ(dialog().panelSkupiny->btnSmazatSkupinu->text(), "Smazat skupinu");
  EXPECT_TRUE(dialog().btnOK2->isDefault());
  EXPECT_EQ(dialog().btnNovy->text(), "Vložit výše zapsaná data jako NOVÝ KONTAKT");
  EXPECT_EQ(dialog().btnUlozit->text(), "ULOŽIT změny v aktuálně zobrazeném kontaktu");
  EXPECT_EQ(dialog().btnSmazat->text(), "SMAZAT právě zobrazený kontakt");
}

TEST_F(ContactsDialogTest, AStoredPhoneIsShownAndKeptWholeWhileTypingStopsAtNine) {
  writeContacts({{"Eva", "eva@sms.cz", "+420777123456"}});
  startProgram();
  openContacts([&](TfrmKontakty& d) {
    EXPECT_EQ(d.editTelefon->text(), "+420777123456");
    d.btnUlozit->click();
    // Shortened, it can be typed back to nine characters only.
    d.editTelefon->setFocus();
    d.editTelefon->setText(QString());
    QTest::keyClicks(d.editTelefon, QStringLiteral("7771234567890"));
    EXPECT_EQ(d.editTelefon->text(), "777123456");
  });
  EXPECT_EQ(readFile(kContactsFile).substr(202, 14), std::string("+420777123456\0", 14));
}

TEST_F(ContactsDialogTest, ADoubleClickAnywhereInTheListShowsTheContactAndTakesIt) {
  writeContacts({{"Adam", "adam@sms.cz", ""}, {"Eva", "eva@sms.cz", ""}});
  startProgram();
  showMain();
  const auto closed = openContacts([&](TfrmKontakty& d) {
    d.show();
    d.listboxJmena->setCurrentRow(1);
    // Below the last entry: the list's empty part.
    QTest::mouseDClick(d.listboxJmena->viewport(), Qt::LeftButton, {}, QPoint(20, 250));
  });
  EXPECT_EQ(closed, QDialog::Accepted);
  EXPECT_EQ(main().editAdresa->text(), "eva@sms.cz");
}

// A group outlives a book replaced behind it: what is still there is marked, the rest counted.
TEST_F(ContactsDialogTest, AGroupIsRenamedDeletedAndCountsTheMembersTheBookLost) {
  writeContacts(
      {{"Adam", "adam@sms.cz", ""}, {"Bara", "bara@sms.cz", ""}, {"Cyril", "c@sms.cz", ""}});
  startProgram();
  std::deque<QString> typed = {QStringLiteral("Rodina"), QStringLiteral("  "),
                               QStringLiteral("Sousedé")};
  setInputHandler([&typed](const InputRequest&) {
    const QString answer = typed.front();
    typed.pop_front();
    return std::optional<QString>(answer);
  });
  openContacts([&](TfrmKontakty& d) {
    mark(0);
    mark(1);
    d.panelSkupiny->btnUlozitSkupinu->click();
    waitForTheDatabase();
    d.panelSkupiny->btnPrejmenovatSkupinu->click();  // an empty name is refused
    d.panelSkupiny->btnPrejmenovatSkupinu->click();
    waitForTheDatabase();
  });
  EXPECT_EQ(messages.back().text, "Není zadán název skupiny!");
  forms.reset();
  writeContacts({{"Bara", "bara@sms.cz", ""}, {"Cyril", "c@sms.cz", ""}});
  startProgram();
  answers = {MessageAnswer::Ok, MessageAnswer::Yes};
  openContacts([&](TfrmKontakty& d) {
    waitForTheDatabase();
    ASSERT_EQ(d.panelSkupiny->listSkupiny->count(), 1);
    d.panelSkupiny->listSkupiny->setCurrentRow(0);
    emit d.panelSkupiny->listSkupiny->itemClicked(d.panelSkupiny->listSkupiny->item(0));
    waitForTheDatabase();
    EXPECT_EQ(marked(), QList<int>{0});
    d.panelSkupiny->btnSmazatSkupinu->click();
    waitForTheDatabase();
    EXPECT_EQ(d.panelSkupiny->listSkupiny->count(), 0);
    EXPECT_EQ(listed(), QStringList({"Bara", "Cyril"}));
  });
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2].text,
            "Ve skupině Sousedé jsou kontakty, které v adresáři už nejsou: 1.");
  EXPECT_EQ(messages.back().text,
            "Opravdu chcete skupinu Sousedé smazat? Kontakty v adresáři zůstanou.");
  EXPECT_EQ(messages.back().buttons, MessageButtons::YesNo);
}

}  // namespace
}  // namespace movarek::testing
