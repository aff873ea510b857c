#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "forms_fixture.h"
#include "read_only_folder.h"

namespace movarek::testing {
namespace {

TEST_F(FormsTest, ChangesThatCannotBeStoredInAReadOnlyFolderAreToldOncePerFile) {
  writeFile("kontakty.dat", std::string("\0\0", 2));
  writeFile("rvolby.dat", std::string(1600, '\0'));
  startProgram();
  const ReadOnlyFolder readOnly(folder);
  if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
  onModal = [this](QDialog& shown) {
    if (&shown == &forms->kontakty()) {
      auto& contacts = forms->kontakty();
      for (const char* name : {"Banka", "Auto"}) {
        contacts.editJmeno->setText(name);
        contacts.btnNovy->click();
      }
      EXPECT_EQ(contacts.listboxJmena->count(), 2);
    } else {
      auto& speedDials = forms->rychleVolby();
      speedDials.editRV[0]->setText("nova@sms.cz");
      speedDials.btnOK->click();
    }
    return shown.result();
  };
  main().btnKontaktyClick();
  main().btnRychleVolbyClick();
  main().btnRychleVolbyClick();

  const QString where = " nelze uložit do složky programu " + folderPath() +
                        ".\nZměny platí jen do ukončení programu.";
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "Soubor kontakty.dat" + where);
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(messages[1].text, "Soubor rvolby.dat" + where);
  EXPECT_EQ(messages[1].caption, "Chyba");
  EXPECT_EQ(main().btnEmailSpeedDials[0]->toolTip(), "nova@sms.cz");
  EXPECT_EQ(readFile("kontakty.dat"), std::string("\0\0", 2));
  EXPECT_EQ(readFile("rvolby.dat"), std::string(1600, '\0'));
}

TEST_F(FormsTest, FieldsThatCannotBeStoredAtCloseAreToldAndTheProgramStillEnds) {
  writeFile("padr.dat", "stara@sms.cz");
  startProgram();
  main().editAdresa->setText(QStringLiteral("nova@sms.cz"));
  const ReadOnlyFolder readOnly(folder);
  if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
  EXPECT_TRUE(main().close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Soubor padr.dat nelze uložit do složky programu " + folderPath() +
                                  ".\nAdresy a čísla zadané v hlavním okně se při příštím "
                                  "spuštění neobnoví.");
  EXPECT_EQ(messages[0].caption, "Chyba");
  EXPECT_EQ(readFile("padr.dat"), "stara@sms.cz");
}

}  // namespace
}  // namespace movarek::testing
