#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "addressbook/qt/contact_groups_panel.h"
#include "addressbook/qt/contacts_dialog.h"
#include "common/qt/memo.h"
#include "contact_file.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

class GroupsAndTemplatesSession : public GatewayTest {
 protected:
  // The contacts dialog opened with Ctrl+K and worked by `work`.
  void workContacts(const std::function<void(TfrmKontakty&)>& work) {
    workDialog(forms->kontakty(), Qt::Key_K, work);
  }

  // Chooses the group on the list and presses Enter: its members are marked and taken.
  void sendToGroup(const QString& group) {
    workContacts([&](TfrmKontakty& contacts) {
      waitForTheDatabase();
      const auto found = contacts.panelSkupiny->listSkupiny->findItems(group, Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1);
      contacts.panelSkupiny->listSkupiny->setFocus();
      contacts.panelSkupiny->listSkupiny->setCurrentItem(found.front());
      QTest::keyClick(contacts.panelSkupiny->listSkupiny, Qt::Key_Return);
      waitForTheDatabase();
    });
    main().memoText->setPlainText(QStringLiteral("Ahoj"));
    const auto before = simulator->requests().size();
    const auto told = messages.size();
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    ASSERT_EQ(simulator->waitForRequests(before + 1).size(), before + 1);
    ASSERT_TRUE(waitUntil([&] { return messages.size() > told; }));
    EXPECT_EQ(messages.back().caption, "Zpráva odeslána");
  }

  QStringList lastAddressees() const { return simulator->requests().back().addresses; }

  // The field's context menu item `caption`, chosen.
  static void chooseFromContextMenu(TMemo& memo, const QString& caption) {
    emit memo.customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
      if (action->text() == caption) action->trigger();
    }
    menu->close();
  }

  // Ctrl+T in the field, then the keys that pick the template.
  void insertTemplateByKeyboard(TMemo& memo, int downs) {
    ASSERT_NO_FATAL_FAILURE(showMain());
    memo.setFocus();
    QTest::keyClick(&memo, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 5000));
    QWidget* menu = QApplication::activePopupWidget();
    for (int i = 0; i < downs; ++i) QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  }
};

TEST_F(GroupsAndTemplatesSession, AGroupFollowsItsContactsAndTravelsWithThemTemplatesGoIn) {
  writeFile("kontakty.dat", std::string("\x04\x00", 2) + contactRecord("Adam", "adam@sms.cz", "") +
                                contactRecord("Bara", "bara@sms.cz", "") +
                                contactRecord("Cyril", "cyril@sms.cz", "") +
                                contactRecord("Dana", "dana@sms.cz", ""));
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  std::vector<InputRequest> asked;
  setInputHandler([&asked](const InputRequest& request) {
    asked.push_back(request);
    return std::optional<QString>(QStringLiteral("Rodina"));
  });
  workContacts([this](TfrmKontakty& contacts) {
    for (int row : {0, 1, 3}) contacts.listboxJmena->item(row)->setCheckState(Qt::Checked);
    contacts.panelSkupiny->btnUlozitSkupinu->click();
    waitForTheDatabase();
    contacts.panelSkupiny->btnUlozitSkupinu->click();  // the same name again is refused
  });
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].caption, "Nová skupina");
  EXPECT_EQ(asked[0].label, "Název skupiny:");
  EXPECT_EQ(messages.back().text, "Skupina Rodina už existuje.");
  EXPECT_EQ(messages.back().caption, "Chyba");

  // From a fresh start, the group's members are the addressees.
  ASSERT_NO_FATAL_FAILURE(restartProgram());
  ASSERT_NO_FATAL_FAILURE(sendToGroup(QStringLiteral("Rodina")));
  EXPECT_EQ(lastAddressees(), QStringList({"adam@sms.cz", "bara@sms.cz", "dana@sms.cz"}));

  // A member's new address is the group's.
  workContacts([this](TfrmKontakty& contacts) {
    contacts.listboxJmena->setCurrentRow(1);
    contacts.editAdresa->setText(QStringLiteral("barbora@sms.cz"));
    contacts.btnUlozit->click();
    waitForTheDatabase();
  });
  ASSERT_NO_FATAL_FAILURE(sendToGroup(QStringLiteral("Rodina")));
  EXPECT_EQ(lastAddressees(), QStringList({"adam@sms.cz", "barbora@sms.cz", "dana@sms.cz"}));

  // A card with two groups joins the one there and makes the other; the export writes both.
  writeFile("novy.vcf",
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva\r\nEMAIL:eva@sms.cz\r\n"
            "CATEGORIES:Rodina,Práce\r\nEND:VCARD\r\n");
  chosenFiles = {QString::fromStdString(filePath("novy.vcf")),
                 QString::fromStdString(filePath("zpet.vcf"))};
  workContacts([this](TfrmKontakty& contacts) {
    contacts.Importovatkontakty1->trigger();
    waitForTheDatabase();
    EXPECT_EQ(contacts.panelSkupiny->listSkupiny->count(), 2);
    contacts.Exportovatkontakty1->trigger();
    waitForTheDatabase();
  });
  EXPECT_NE(readFile("zpet.vcf").find("EMAIL:eva@sms.cz\r\nCATEGORIES:Práce,Rodina\r\n"),
            std::string::npos)
      << readFile("zpet.vcf");
  EXPECT_EQ(databaseRows(
                QStringLiteral("SELECT g.name, m.address FROM group_member m JOIN contact_group g "
                               "ON g.id = m.group_id ORDER BY g.name, m.position")),
            "Práce|eva@sms.cz\nRodina|adam@sms.cz\nRodina|barbora@sms.cz\nRodina|dana@sms.cz\n"
            "Rodina|eva@sms.cz\n");

  // Two templates stored from the field; one put in by keyboard on each page.
  for (const QString& text : {QStringLiteral("Přijdu pozdě."), QStringLiteral("Volej mi.")}) {
    main().memoText->setPlainText(text);
    ASSERT_NO_FATAL_FAILURE(chooseFromContextMenu(*main().memoText, "Uložit text jako šablonu"));
    waitForTheDatabase();
  }
  main().memoText->setPlainText(QStringLiteral("Ahoj. "));
  main().memoText->moveCursor(QTextCursor::End);
  ASSERT_NO_FATAL_FAILURE(insertTemplateByKeyboard(*main().memoText, 1));
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj. Volej mi.");
  EXPECT_EQ(main().panelMezera->text(), "15 / 1");
  main().btnOskarClick();
  ASSERT_NO_FATAL_FAILURE(insertTemplateByKeyboard(*main().memoTextOskar, 0));
  EXPECT_EQ(main().memoTextOskar->toPlainText(), "Přijdu pozdě.");
  EXPECT_EQ(databaseRows(QStringLiteral("SELECT text FROM message_template ORDER BY position")),
            "Přijdu pozdě.\nVolej mi.\n");
}

}  // namespace
}  // namespace movarek::testing
