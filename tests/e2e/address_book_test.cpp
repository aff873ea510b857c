#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "addressbook/qt/contacts_dialog.h"
#include "common/qt/memo.h"
#include "contact_file.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

using AddressBookTest = GatewayTest;

TEST_F(AddressBookTest, PickedContactsAndASpeedDialAreTheAddresseesAtTheGateway) {
  writeFile("kontakty.dat", std::string("\x03\x00", 2) +
                                contactRecord("Auto", "auto@sms.cz", "777000001") +
                                contactRecord("Banka", "banka@sms.cz", "") +
                                contactRecord("Cukr\xE1rna", "cukr@sms.cz", ""));
  const std::string speedDial = "rychla@sms.cz";
  std::string speedDials(1600, '\0');
  speedDials.replace(0, speedDial.size(), speedDial);
  writeFile("rvolby.dat", speedDials);
  ASSERT_NO_FATAL_FAILURE(startSimulator());
  startProgram();
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_EQ(simulator->waitForRequests(2).size(), 2);
  EXPECT_EQ(main().btnEmailSpeedDials[0]->toolTip(), "rychla@sms.cz");

  // The dialog is shown for real, and worked with the keys as a person would.
  setModalHandler({});
  TfrmKontakty& contacts = forms->kontakty();
  const auto pickFirstAndThird = [&contacts] {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&contacts));
    QListWidget* list = contacts.listboxJmena;
    ASSERT_TRUE(waitUntil([list] { return QApplication::focusWidget() == list; }));
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Return);
  };
  QTimer::singleShot(0, [&] {
    pickFirstAndThird();
    if (contacts.isVisible()) contacts.reject();  // a failed step must not leave it open
  });
  QTest::keyClick(main().memoText, Qt::Key_K, Qt::ControlModifier);
  ASSERT_TRUE(contacts.isHidden());
  EXPECT_EQ(main().editAdresa->text(), "auto@sms.cz; cukr@sms.cz; ");

  // Sends, and waits for the gateway's answer and the question that follows it.
  auto send = [this](qsizetype before) {
    const auto questionsBefore = messages.size();
    answers = {MessageAnswer::No};
    QTest::mouseClick(main().btnPoslat, Qt::LeftButton);
    const auto requests = simulator->waitForRequests(before + 1);
    EXPECT_EQ(requests.size(), before + 1) << targetsOf(requests).join('\n').toStdString();
    EXPECT_TRUE(waitUntil([&] { return messages.size() > questionsBefore; }));
    return requests.size() > before ? requests[before] : LoggedRequest{};
  };
  QTest::keyClicks(main().memoText, QStringLiteral("Ahoj"));
  const LoggedRequest picked = send(2);
  EXPECT_EQ(picked.target(), "/send_sms.php?go=sms2&adr=auto@sms.cz~cukr@sms.cz~&zprava=Ahoj");

  QTest::mouseClick(main().btnEmailSpeedDials[0], Qt::LeftButton);
  const LoggedRequest speedDialled = send(3);
  EXPECT_EQ(speedDialled.addresses, QStringList({"rychla@sms.cz"}));
}

}  // namespace
}  // namespace movarek::testing
