#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "common/qt/memo.h"
#include "forms_fixture.h"
#include "send/qt/templates_dialog.h"

namespace movarek::testing {
namespace {

class MessageTemplatesTest : public FormsTest {
 protected:
  // Opens the message field's context menu and chooses `caption`, in a submenu when `within`.
  void choose(const QString& caption, const QString& within = {}) {
    emit main().memoText->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
      if (within.isEmpty() && action->text() == caption) action->trigger();
      if (!within.isEmpty() && action->text() == within) {
        for (QAction* inner : action->menu()->actions()) {
          if (inner->text() == caption) inner->trigger();
        }
      }
    }
    if (QApplication::activePopupWidget()) QApplication::activePopupWidget()->close();
  }

  void store(const QString& text) {
    main().memoText->setPlainText(text);
    ASSERT_NO_FATAL_FAILURE(choose(QStringLiteral("Uložit text jako šablonu")));
    waitForTheDatabase();
  }

  static QStringList texts(const QListWidget& list) {
    QStringList found;
    for (int row = 0; row < list.count(); ++row) found << list.item(row)->text();
    return found;
  }
};

TEST_F(MessageTemplatesTest, KeptInOrderChangedAndPutInWithinTheLimit) {
  startProgram();
  for (const char* text : {"Přijdu pozdě.", "Volej mi.", "Ahoj"}) store(QString::fromUtf8(text));
  answers = {MessageAnswer::No};
  store(QStringLiteral("Ahoj"));  // asked first, and kept once
  EXPECT_EQ(messages.back().text, "Tento text už je uložený jako šablona. Uložit ho znovu?");
  EXPECT_EQ(messages.back().buttons, MessageButtons::YesNoDefaultNo);

  setInputHandler([](const InputRequest& request) {
    EXPECT_EQ(request.caption, "Šablony");
    return std::optional<QString>(request.text + QStringLiteral(" Díky."));
  });
  answers = {MessageAnswer::Yes};
  onModal = [this](QDialog& shown) {
    auto& dialog = dynamic_cast<TemplatesDialog&>(shown);
    waitForTheDatabase();
    EXPECT_EQ(texts(*dialog.listSablony), QStringList({"Přijdu pozdě.", "Volej mi.", "Ahoj"}));
    dialog.btnDolu->click();
    waitForTheDatabase();
    EXPECT_EQ(dialog.listSablony->currentRow(), 1);
    dialog.btnUpravit->click();
    waitForTheDatabase();
    dialog.listSablony->setCurrentRow(2);
    dialog.btnSmazat->click();
    waitForTheDatabase();
    EXPECT_EQ(texts(*dialog.listSablony), QStringList({"Volej mi.", "Přijdu pozdě. Díky."}));
    return int{QDialog::Rejected};
  };
  ASSERT_NO_FATAL_FAILURE(choose(QStringLiteral("Šablony…")));
  waitForTheDatabase();

  // Four characters of room: four characters go in, as typing would put them.
  main().memoText->setPlainText(QString(710, QLatin1Char('x')));
  main().memoText->moveCursor(QTextCursor::End);
  ASSERT_NO_FATAL_FAILURE(choose(QStringLiteral("Volej mi."), QStringLiteral("Vložit šablonu")));
  EXPECT_EQ(main().memoText->toPlainText(), QString(710, QLatin1Char('x')) + "Vole");
}

}  // namespace
}  // namespace movarek::testing
