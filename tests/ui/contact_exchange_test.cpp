#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "addressbook/contact_store.h"
#include "addressbook/qt/contacts_dialog.h"
#include "common/qt/program_module.h"
#include "common/qt/qt_text.h"
#include "exchange/contact_import.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

const std::string kPhoneExport =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=98eho=C5=99;"
    "Petr\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Petr =C5=98eho=C5=99\r\nTEL;CELL:+420 777 123 "
    "456\r\n"
    "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Anna\r\nEMAIL;INTERNET:anna@sms.cz\r\n"
    "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Nikdo\r\nEND:VCARD\r\n";

class ContactExchangeTest : public FormsTest {
 protected:
  TfrmKontakty& dialog() { return forms->kontakty(); }

  QString writeTestFile(const std::string& name, const std::string& bytes) {
    writeFile(name, bytes);
    return QString::fromStdString(filePath(name));
  }

  QStringList listed() {
    QStringList names;
    for (int row = 0; row < dialog().listboxJmena->count(); ++row) {
      names << dialog().listboxJmena->item(row)->text();
    }
    return names;
  }

  // Drops the file on `target`, the dialog itself unless told.
  void drop(const QString& path, QWidget* target = nullptr) {
    if (!target) target = &dialog();
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
  }
};

TEST_F(ContactExchangeTest, TheListsContextMenuHoldsImportAndExport) {
  startProgram();
  dialog().show();
  QStringList items;
  for (const QAction* action : dialog().menuKontakty->actions()) items << action->text();
  EXPECT_EQ(items, (QStringList{"Importovat kontakty…", "Exportovat kontakty…"}));
  // The right mouse button, as the window system reports it.
  const QPoint inList(30, 30);
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, inList,
                               dialog().listboxJmena->viewport()->mapToGlobal(inList));
  QApplication::sendEvent(dialog().listboxJmena->viewport(), &rightClick);
  EXPECT_TRUE(dialog().menuKontakty->isVisible());
  dialog().menuKontakty->hide();
  dialog().listboxJmena->setFocus();
  QTest::keyClick(dialog().listboxJmena, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(dialog().menuKontakty->isVisible());
  dialog().menuKontakty->hide();
}

TEST_F(ContactExchangeTest, AnImportFromTheMenuAddsInNameOrderWritesOnceAndTellsTheCounts) {
  writeFile(kContactsFile, std::string("\0\0", 2));
  startProgram();
  chosenFiles = {writeTestFile("telefon.vcf", kPhoneExport)};
  dialog().Importovatkontakty1->trigger();
  ASSERT_EQ(fileRequests.size(), 1u);
  EXPECT_EQ(fileRequests[0].choice, FileChoice::Open);
  EXPECT_EQ(listed(), (QStringList{"Anna", "Petr Řehoř"}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Přidáno kontaktů: 2.\nVynecháno: 1 (bez adresy i telefonu: 1).");
  EXPECT_EQ(messages[0].caption, "Import kontaktů");
  const std::string file = readFile(kContactsFile);
  ASSERT_EQ(file.size(), 2u + 2 * 250);
  EXPECT_EQ(file.substr(0, 2), std::string("\x02\x00", 2));
  EXPECT_EQ(file.substr(2 + 250 + 200, 10), std::string("777123456\0", 10));

  // The same file again: both are in the book already.
  drop(QString::fromStdString(filePath("telefon.vcf")));
  EXPECT_EQ(messages.back().text,
            "Přidáno kontaktů: 0.\nVynecháno: 3 (bez adresy i telefonu: 1, už v adresáři: 2).");
  EXPECT_EQ(listed().size(), 2);
}

// A broken installation changes no number it cannot read, and the import says why.
TEST_F(ContactExchangeTest, WithoutThePhoneModuleNumbersAreKeptAsWritten) {
  QTemporaryDir withoutModules;
  setModuleFolder(withoutModules.path());
  writeFile(kContactsFile, std::string("\0\0", 2));
  startProgram();
  chosenFiles = {writeTestFile("telefon.vcf", kPhoneExport)};
  dialog().Importovatkontakty1->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Přidáno kontaktů: 2.\nVynecháno: 1 (bez adresy i telefonu: 1).\n\nChybí část "
            "programu SMS Movarek, modul telefonních čísel: čísla jsou převzata tak, jak jsou "
            "zapsána.\nProgram je poškozený, přeinstalujte ho prosím.");
  EXPECT_EQ(readFile(kContactsFile).substr(2 + 250 + 200, 17),
            std::string("+420 777 123 456\0", 17));
  setModuleFolder({});
}

TEST_F(ContactExchangeTest, AFileDroppedOnAFieldIsImportedAndNotWrittenIntoIt) {
  writeFile(kContactsFile, std::string("\0\0", 2));
  startProgram();
  const QString file = writeTestFile("telefon.vcf", kPhoneExport);
  for (QLineEdit* field : {dialog().editJmeno, dialog().editAdresa, dialog().editTelefon}) {
    field->setText(QStringLiteral("psáno"));
    messages.clear();
    drop(file, field);
    EXPECT_EQ(field->text(), "psáno");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Import kontaktů");
  }
  EXPECT_EQ(listed(), (QStringList{"Anna", "Petr Řehoř"}));
}

TEST_F(ContactExchangeTest, AnExportAsksBeforeItReplacesAFileByItsWholeName) {
  ContactBook book;
  book.add("Anna", "anna@sms.cz", "");
  writeFile(kContactsFile, book.fileBytes());
  writeFile("kontakty.vcf", "moje");
  startProgram();
  struct Case {
    const char* chosen;
    MessageAnswer answer;
    std::string stored;  // what kontakty.vcf holds afterwards
    QStringList told;
  };
  const QString question = QStringLiteral("Soubor kontakty.vcf už existuje.\nChcete ho nahradit?");
  const Case cases[] = {
      {"kontakty", MessageAnswer::No, "moje", {question}},
      {"kontakty.vcf", MessageAnswer::No, "moje", {question}},
      {"kontakty",
       MessageAnswer::Yes,
       vCardsOf(book.contacts()),
       {question, QStringLiteral("Uloženo kontaktů: 1.")}},
  };
  for (const auto& c : cases) {
    messages.clear();
    answers = {c.answer};
    chosenFiles = {QString::fromStdString(filePath(c.chosen))};
    dialog().Exportovatkontakty1->trigger();
    waitForTheDatabase();
    QStringList told;
    for (const auto& message : messages) told << message.text;
    EXPECT_EQ(told, c.told) << c.chosen;
    EXPECT_EQ(messages.front().caption, "Exportovat kontakty") << c.chosen;
    EXPECT_EQ(readFile("kontakty.vcf"), c.stored) << c.chosen;
  }
  // A new name is asked about no more.
  messages.clear();
  chosenFiles = {QString::fromStdString(filePath("novy"))};
  dialog().Exportovatkontakty1->trigger();
  waitForTheDatabase();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Uloženo kontaktů: 1.");
  EXPECT_EQ(readFile("novy.vcf"), vCardsOf(book.contacts()));
}

TEST_F(ContactExchangeTest, FilesThatHoldNoCardOrCannotBeReadAreToldAndChangeNothing) {
  startProgram();
  struct Case {
    QString path;
    QString told;
  };
  const Case cases[] = {
      {writeTestFile("prazdny.csv", "a,b\r\n1,2\r\n"), "V souboru prazdny.csv není žádný kontakt."},
      {QString::fromStdString(filePath("chybi.vcf")), "Soubor chybi.vcf nelze přečíst."},
      {writeTestFile("seznam.txt", "x"), "Soubor seznam.txt není vCard (.vcf) ani CSV (.csv)."},
  };
  for (const auto& c : cases) {
    messages.clear();
    dialog().importContacts(c.path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, c.told);
    EXPECT_EQ(messages[0].caption, "Chyba");
  }
  EXPECT_FALSE(fileExists(kContactsFile));
}

TEST_F(ContactExchangeTest, BothExportsImportBackIntoAnEmptyBookByteForByte) {
  ContactBook book;
  book.add(toCp1250(QStringLiteral("Žofie Nováková")), "zofie@sms.cz", "777123456");
  book.add(toCp1250(QStringLiteral("Čapek")), "capek@sms.cz", "+442079460958");
  book.add("Zoo", "", "608111222");
  writeFile(kContactsFile, book.fileBytes());
  for (const char* name : {"kontakty.vcf", "kontakty.csv"}) {
    startProgram();
    chosenFiles = {QString::fromStdString(filePath(name))};
    dialog().Exportovatkontakty1->trigger();
    waitForTheDatabase();
    EXPECT_EQ(messages.back().text, "Uloženo kontaktů: 3.") << name;
    EXPECT_EQ(messages.back().caption, "Export kontaktů");
    forms.reset();

    writeFile(kContactsFile, std::string("\0\0", 2));
    startProgram();
    chosenFiles = {QString::fromStdString(filePath(name))};
    dialog().Importovatkontakty1->trigger();
    EXPECT_EQ(readFile(kContactsFile), book.fileBytes()) << name;
    forms.reset();
    writeFile(kContactsFile, book.fileBytes());
  }
}

TEST_F(ContactExchangeTest, TypingLettersFindsTheFirstNameThatBeginsWithThem) {
  ContactBook book;
  for (const char* name : {"Adam", "Cyril", "Zoo", "Čapek", "Řehoř", "Řeka"}) {
    book.add(toCp1250(QString::fromUtf8(name)), "", "");
  }
  writeFile(kContactsFile, book.fileBytes());
  startProgram();
  dialog().FormActivate();
  struct Case {
    QString typed;
    QString found;
  };
  const int interval = QApplication::keyboardInputInterval();
  for (const auto& c : {Case{"reh", "Řehoř"}, Case{"ŘEK", "Řeka"}, Case{"ca", "Čapek"},
                        Case{"ZO", "Zoo"}, Case{"c", "Cyril"}}) {
    // A new search with the first letter, the rest typed on within the keyboard's interval.
    // Its key as the keyboard gives it, a capital's code (keyClicks knows no diacritics).
    const QString first = c.typed.left(1);
    QApplication::setKeyboardInputInterval(0);
    QTest::sendKeyEvent(QTest::Click, dialog().listboxJmena,
                        static_cast<Qt::Key>(first.toUpper().front().unicode()), first, {});
    QApplication::setKeyboardInputInterval(60000);
    QTest::keyClicks(dialog().listboxJmena, c.typed.mid(1));
    EXPECT_EQ(dialog().listboxJmena->currentItem()->text(), c.found) << c.typed.toStdString();
    EXPECT_EQ(dialog().editJmeno->text(), c.found) << c.typed.toStdString();
  }
  QApplication::setKeyboardInputInterval(interval);
}

}  // namespace
}  // namespace movarek::testing
