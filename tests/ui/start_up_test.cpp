#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QWindow>

#include "addressbook/contacts_dialog.h"
#include "addressbook/speed_dial_dialog.h"
#include "app/help_window.h"
#include "app/maker_window.h"
#include "app/memo.h"
#include "contact_file.h"
#include "forms_fixture.h"

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
    return {forms->frmKontakt.get(), forms->frmRychleVolby.get(), forms->frmNapoveda.get(),
            forms->frmKontakty.get()};
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

TEST_F(StartUpTest, TheOtherWindowsComeRightAfterTheMainWindowInTheirOrder) {
  writeFile("kontakty.dat", std::string("\x02\x00", 2) + contactRecord("Jan", "jan@sms.cz", "") +
                                contactRecord("Petr", "petr@sms.cz", ""));
  startProgram(Forms::Start::MainWindowFirst);
  EXPECT_EQ(forms->frmKontakty, nullptr);
  EXPECT_TRUE(windowsInOrderMade().empty());

  main().show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return forms->frmKontakty != nullptr; }));
  EXPECT_EQ(windowsInOrderMade(), windowsInTheirOrder());
  // The contacts dialog lists what the main window loaded before it.
  EXPECT_EQ(forms->frmKontakty->listboxJmena->count(), 2);
  for (QDialog* window : windowsInOrderMade()) EXPECT_FALSE(window->isVisible());
}

TEST_F(StartUpTest, WhatIsTypedAsTheWindowAppearsLandsWhereItWould) {
  startProgram(Forms::Start::MainWindowFirst);
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
  EXPECT_EQ(shownDialogs, std::vector<QDialog*>{forms->frmKontakty.get()});
  EXPECT_EQ(windowsInOrderMade(), windowsInTheirOrder());
}

}  // namespace
}  // namespace movarek::testing
