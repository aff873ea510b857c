#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QWindow>

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/qt/help_window.h"
#include "app/qt/maker_window.h"
#include "common/qt/first_paint.h"
#include "common/qt/memo.h"
#include "contact_file.h"
#include "exchange/qt/phone_module.h"
#include "forms_fixture.h"
#include "send/qt/sent_messages_window.h"
#include "webview/qt/web_browser.h"

namespace movarek::testing {
namespace {

// A key as the window system hands it over: to the window, which gives it to whatever has the
// focus when it is taken from the queue.
void pressLater(QWindow& window, int key, Qt::KeyboardModifiers modifiers = {},
                const QString& text = {}) {
  for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QCoreApplication::postEvent(&window, new QKeyEvent(type, key, modifiers, text));
  }
}

class StartUpTest : public FormsTest {
 protected:
  // The windows the main window owns, in the order they were made.
  std::vector<QDialog*> windowsInOrderMade() {
    const auto dialogs = main().findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
    return {dialogs.begin(), dialogs.end()};
  }

  std::vector<QDialog*> windowsInTheirOrder() {
    return {&forms->kontakt(), &forms->rychleVolby(), &forms->napoveda(), &forms->odeslane(),
            &forms->kontakty()};
  }

  // Runs `typeEarly` the moment the main window first becomes active: as soon as a person
  // could type into it.
  void whenFirstActive(std::function<void()> typeEarly) {
    activation_.act = std::move(typeEarly);
    main().installEventFilter(&activation_);
  }

 private:
  struct Activation : QObject {
    std::function<void()> act;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::WindowActivate && act) std::exchange(act, {})();
      return false;
    }
  } activation_;
};

// The libraries of the process whose path holds one of `parts`.
QStringList loaded(const QStringList& parts) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("(no /proc/self/maps)")};
  const QString mapped = QString::fromLocal8Bit(maps.readAll());
  QStringList found;
  for (const QString& part : parts) {
    if (mapped.contains(part)) found << part;
  }
  return found;
}

TEST_F(StartUpTest, TheOtherWindowsComeRightAfterTheMainWindowInTheirOrder) {
  writeFile("kontakty.dat", std::string("\x02\x00", 2) + contactRecord("Jan", "jan@sms.cz", "") +
                                contactRecord("Petr", "petr@sms.cz", ""));
  startProgram();
  EXPECT_FALSE(forms->othersMade());
  EXPECT_TRUE(windowsInOrderMade().empty());

  main().show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return forms->othersMade(); }));
  EXPECT_EQ(windowsInOrderMade(), windowsInTheirOrder());
  // The contacts dialog lists what the main window loaded before it.
  EXPECT_EQ(forms->kontakty().listboxJmena->count(), 2);
  for (QDialog* window : windowsInOrderMade()) EXPECT_FALSE(window->isVisible());
}

// The start is as short as a bare window's because the heavy parts come later: the system's
// OpenGL driver never, the image format plugins when a picture of another format is read, the
// engine and the network's module after the first paint, the phone number library at the first
// import.
TEST_F(StartUpTest, TheFirstPaintLeavesTheHeavyPartsForLater) {
  const QStringList openGLDriver{"GLX_mesa", "_dri.so", "libgallium"};
  const QStringList later{"/imageformats/", "movarek_webengine", "movarek_network",
                          "movarek_phonenumbers", "libphonenumber"};
  startProgram();
  QStringList atFirstPaint{"(not painted)"};
  FirstPaint painted(main());
  QObject::connect(&painted, &FirstPaint::painted,
                   [&] { atFirstPaint = loaded(openGLDriver + later); });
  main().show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return main().webEurotel->view() != nullptr; }));
  EXPECT_EQ(atFirstPaint, QStringList{});
  EXPECT_EQ(loaded({"movarek_webengine"}), QStringList{"movarek_webengine"});
  EXPECT_TRUE(QTest::qWaitFor([] { return !loaded({"movarek_network"}).isEmpty(); }));
  EXPECT_EQ(internationalPhoneNumberByModule("777 123 456"), "+420777123456");
  EXPECT_EQ(loaded({"movarek_phonenumbers", "libphonenumber"}),
            (QStringList{"movarek_phonenumbers", "libphonenumber"}));
  EXPECT_EQ(loaded(openGLDriver), QStringList{});
}

TEST_F(StartUpTest, WhatIsTypedAsTheWindowAppearsLandsWhereItWould) {
  startProgram();
  whenFirstActive([&] {
    for (const QChar key : QStringLiteral("Ahoj")) {
      pressLater(*main().windowHandle(), key.toUpper().unicode(), {}, QString(key));
    }
    pressLater(*main().windowHandle(), Qt::Key_K, Qt::ControlModifier);
  });
  main().show();
  main().activateWindow();

  ASSERT_TRUE(QTest::qWaitFor([&] { return !shownDialogs.empty(); }));
  EXPECT_EQ(main().memoText->toPlainText(), "Ahoj");
  EXPECT_EQ(main().panelMezera->text(), "4 / 1");
  EXPECT_EQ(shownDialogs, std::vector<QDialog*>{&forms->kontakty()});
  EXPECT_EQ(windowsInOrderMade(), windowsInTheirOrder());
}

}  // namespace
}  // namespace movarek::testing
