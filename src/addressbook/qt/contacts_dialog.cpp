#include "addressbook/qt/contacts_dialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>

#include "addressbook/address_book.h"
#include "addressbook/address_choice.h"
#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_file_drop.h"
#include "addressbook/qt/contact_file_export.h"
#include "addressbook/qt/contact_file_import.h"
#include "addressbook/qt/contact_groups_panel.h"
#include "addressbook/qt/contact_list.h"
#include "common/qt/accessibility.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/qt_text.h"

namespace movarek {
namespace {

// The groups below what was drawn, which keeps its places.
constexpr QSize kClientSize(588, 372);
constexpr int kTelephoneLength = 9;
constexpr int kRightX = 256;
constexpr int kRightWidth = 324;

QFont boldArial() { return arialFont(0, true); }

// Limits what is typed, not what is shown: a longer text the program puts in (a stored phone
// from an older or imported file) stays whole and can be shortened, never lengthened past the
// limit.
class TypingLimit : public QValidator {
 public:
  TypingLimit(int limit, QLineEdit& edit) : QValidator(&edit), limit_(limit) {
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) {
      longest_ = std::max(limit_, static_cast<int>(text.size()));
    });
  }

  State validate(QString& input, int&) const override {
    return input.size() <= longest_ ? Acceptable : Invalid;
  }

 private:
  int limit_;
  int longest_ = limit_;
};

// A field under its label, named as the label says.
QLineEdit* labelledEdit(QWidget* parent, const QString& caption, int top, int width) {
  QLabel* label = placedLabel(parent, caption, QRect(kRightX, top, kRightWidth, 16));
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(kRightX, top + 16, width, 21);
  nameByLabel(*label, *edit, QString(caption).remove(QLatin1Char(':')));
  return edit;
}

}  // namespace

TfrmKontakty::TfrmKontakty(AddressBook& book, ProgramDatabase& database, QWidget* parent)
    : QDialog(parent), book_(book), contacts_(book.contacts()) {
  buildLayout();
  buildParts(database);
  connectHandlers();
  FormCreate();
}

void TfrmKontakty::buildLayout() {
  setWindowTitle(QStringLiteral("Kontakty"));
  fixAndCentre(*this, kClientSize);

  listboxJmena = new ContactList(this);
  listboxJmena->setGeometry(8, 8, 237, 273);
  listboxJmena->setAccessibleName(QStringLiteral("Kontakty"));
  listboxJmena->setFont(boldArial());
  listboxJmena->setSelectionMode(QAbstractItemView::SingleSelection);
  btnOznacitVse = placedButton(this, QStringLiteral("Označit vše"), QRect(8, 283, 116, 21));
  btnOdznacitVse = placedButton(this, QStringLiteral("Odznačit vše"), QRect(129, 283, 116, 21));

  editJmeno = labelledEdit(this, QStringLiteral("Jméno:"), 8, kRightWidth);
  editAdresa = labelledEdit(this, QStringLiteral("Adresa mobilního telefonu:"), 50, kRightWidth);
  editTelefon = labelledEdit(this, QStringLiteral("Telefon:"), 92, 120);
  editTelefon->setValidator(new TypingLimit(kTelephoneLength, *editTelefon));
  btnOK2 = placedButton(this, QStringLiteral("OK"), QRect(505, 134, 75, 23));
  btnOK2->setDefault(true);

  btnNovy = placedButton(this, QStringLiteral("Vložit výše zapsaná data jako NOVÝ KONTAKT"),
                         QRect(kRightX, 165, kRightWidth, 25));
  btnUlozit = placedButton(this, QStringLiteral("ULOŽIT změny v aktuálně zobrazeném kontaktu"),
                           QRect(kRightX, 193, kRightWidth, 25));
  btnSmazat = placedButton(this, QStringLiteral("SMAZAT právě zobrazený kontakt"),
                           QRect(kRightX, 221, kRightWidth, 25));
  for (QPushButton* bold : {btnNovy, btnUlozit, btnSmazat}) bold->setFont(boldArial());
  placedSeparator(this, QRect(kRightX, 253, kRightWidth, 2));

  btnOK = placedButton(this, QStringLiteral("OK"), QRect(424, 276, 75, 25));
  btnStorno = placedButton(this, QStringLiteral("Storno"), QRect(505, 276, 75, 25));
  buildContextMenu();
}

void TfrmKontakty::buildParts(ProgramDatabase& database) {
  panelSkupiny = new ContactGroupsPanel(*this, *listboxJmena, contacts_, database,
                                        [this] { return markedAddresses(); });
  connect(panelSkupiny, &ContactGroupsPanel::groupTaken, this, &TfrmKontakty::btnOKClick);
  import_ = new ContactFileImport(*this, book_, *panelSkupiny);
  connect(import_, &ContactFileImport::bookChanged, this, &TfrmKontakty::rebuildList);
  connect(Importovatkontakty1, &QAction::triggered, import_, &ContactFileImport::chooseAndImport);
  auto* exporter = new ContactFileExport(*this, contacts_, database);
  connect(Exportovatkontakty1, &QAction::triggered, exporter, &ContactFileExport::chooseAndExport);
  // A file dropped on a field is imported, as anywhere on the dialog, not written into it.
  auto* drop = new ContactFileDrop(*this, {listboxJmena, listboxJmena->viewport(), editJmeno,
                                           editAdresa, editTelefon, panelSkupiny->listSkupiny});
  connect(drop, &ContactFileDrop::fileDropped, import_, &ContactFileImport::importFile);
}

void TfrmKontakty::buildContextMenu() {
  menuKontakty = new QMenu(this);
  Importovatkontakty1 = menuKontakty->addAction(QStringLiteral("Importovat kontakty…"));
  Exportovatkontakty1 = menuKontakty->addAction(QStringLiteral("Exportovat kontakty…"));
  listboxJmena->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TfrmKontakty::showContextMenu(const QPoint& inList) {
  menuKontakty->popup(listboxJmena->viewport()->mapToGlobal(inList));
}

void TfrmKontakty::connectHandlers() {
  connect(listboxJmena, &QListWidget::currentRowChanged, this, &TfrmKontakty::listboxJmenaClick);
  connect(listboxJmena, &QListWidget::itemClicked, this, &TfrmKontakty::listboxJmenaClick);
  listboxJmena->installEventFilter(this);
  // Anywhere in the list, its empty part included.
  listboxJmena->viewport()->installEventFilter(this);
  connect(btnNovy, &QPushButton::clicked, this, &TfrmKontakty::btnNovyClick);
  connect(btnUlozit, &QPushButton::clicked, this, &TfrmKontakty::btnUlozitClick);
  connect(btnSmazat, &QPushButton::clicked, this, &TfrmKontakty::btnSmazatClick);
  connect(btnOznacitVse, &QPushButton::clicked, this, &TfrmKontakty::btnOznacitVseClick);
  connect(btnOdznacitVse, &QPushButton::clicked, this, &TfrmKontakty::btnOdznacitVseClick);
  connect(btnOK, &QPushButton::clicked, this, &TfrmKontakty::btnOKClick);
  connect(btnOK2, &QPushButton::clicked, this, &TfrmKontakty::btnOKClick);
  connect(btnStorno, &QPushButton::clicked, this, &TfrmKontakty::btnStornoClick);
  // The right mouse button and the Menu key; Shift+F10 in the key filter.
  connect(listboxJmena, &QWidget::customContextMenuRequested, this, &TfrmKontakty::showContextMenu);
}

bool TfrmKontakty::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listboxJmena && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      const QListWidgetItem* current = listboxJmena->currentItem();
      showContextMenu(current ? listboxJmena->visualItemRect(current).center() : QPoint());
      return true;
    }
    listboxJmenaKeyDown();
  }
  if (watched == listboxJmena->viewport() && event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    listboxJmenaDblClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmKontakty::FormCreate() { rebuildList(); }

void TfrmKontakty::rebuildList() {
  // Emptying the list moves no contact into the fields: they keep what was typed.
  const QSignalBlocker quiet(listboxJmena);
  listboxJmena->clear();
  for (const auto& name : contacts_.book().names()) {
    auto* item = new QListWidgetItem(fromCp1250(name), listboxJmena);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

bool TfrmKontakty::hasSelection() const { return listboxJmena->currentRow() >= 0; }

void TfrmKontakty::ShowContact() {
  if (!hasSelection()) {
    contacts_.setCurrentContact(kNoContact);
    editJmeno->clear();
    editAdresa->clear();
    editTelefon->clear();
    return;
  }
  const int row = listboxJmena->currentRow();
  contacts_.setCurrentContact(row);
  const ContactRecord& contact = contacts_.book().record(row);
  editJmeno->setText(fromCp1250(contact.nameText()));
  editAdresa->setText(fromCp1250(contact.addressText()));
  editTelefon->setText(fromCp1250(contact.phoneText()));
}

void TfrmKontakty::selectEntry(int row) {
  {
    const QSignalBlocker quiet(listboxJmena);
    listboxJmena->setCurrentRow(row);
  }
  listboxJmena->setFocus();
  ShowContact();
}

void TfrmKontakty::setAllChecks(Qt::CheckState state) {
  for (int row = 0; row < listboxJmena->count(); ++row)
    listboxJmena->item(row)->setCheckState(state);
}

void TfrmKontakty::FormActivate() {
  panelSkupiny->listGroups();
  selectEntry(0);
}

void TfrmKontakty::listboxJmenaClick() { ShowContact(); }

void TfrmKontakty::listboxJmenaKeyDown() { ShowContact(); }

void TfrmKontakty::listboxJmenaDblClick() {
  ShowContact();
  btnOKClick();
}

void TfrmKontakty::btnNovyClick() {
  if (contacts_.AddContact(toCp1250(editJmeno->text()), toCp1250(editAdresa->text()),
                           toCp1250(editTelefon->text()))) {
    rebuildList();
  }
}

void TfrmKontakty::btnUlozitClick() {
  if (!hasSelection()) return;
  panelSkupiny->follow(book_.replaceContact(
      toCp1250(editJmeno->text()), toCp1250(editAdresa->text()), toCp1250(editTelefon->text())));
  rebuildList();
  selectEntry(contacts_.book().currentContact());
}

void TfrmKontakty::btnSmazatClick() {
  if (!hasSelection()) return;
  const auto answer = showMessage(QStringLiteral("Opravdu chcete tento kontakt vymazat?"),
                                  QStringLiteral("Vymazání kontaktu"), MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  panelSkupiny->follow(book_.removeContact());
  rebuildList();
  selectEntry(0);
}

void TfrmKontakty::btnOznacitVseClick() { setAllChecks(Qt::Checked); }

void TfrmKontakty::btnOdznacitVseClick() { setAllChecks(Qt::Unchecked); }

std::vector<std::string> TfrmKontakty::markedFields(ContactField field) const {
  std::vector<std::string> marked;
  for (int row = 0; row < listboxJmena->count(); ++row) {
    if (listboxJmena->item(row)->checkState() == Qt::Checked) {
      marked.push_back((contacts_.book().record(row).*field)());
    }
  }
  return marked;
}

std::vector<std::string> TfrmKontakty::markedAddresses() const {
  return markedFields(&ContactRecord::addressText);
}

// On the Eurotel page there is nowhere to put an addressee: the dialog stays open.
void TfrmKontakty::btnOKClick() {
  if (shownPage_ == Page::Sms) {
    emit addressesChosen(chosenAddresses(markedAddresses(), toCp1250(editAdresa->text())));
    accept();
  } else if (shownPage_ == Page::Oskar) {
    emit oskarNumberChosen(toCp1250(editTelefon->text()));
    accept();
  } else if (shownPage_ == Page::Modem) {
    emit modemNumbersChosen(
        chosenAddresses(markedFields(&ContactRecord::phoneText), toCp1250(editTelefon->text())));
    accept();
  }
}

void TfrmKontakty::btnStornoClick() { reject(); }

void TfrmKontakty::importContacts(const QString& path) { import_->importFile(path); }

}  // namespace movarek
