#include "addressbook/qt/contacts_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "addressbook/address_book.h"
#include "addressbook/address_choice.h"
#include "addressbook/contact_groups.h"
#include "addressbook/contact_store.h"
#include "addressbook/qt/contact_list.h"
#include "common/cp1250.h"
#include "common/qt/accessibility.h"
#include "common/qt/file_choice.h"
#include "common/qt/input_box.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_database.h"
#include "common/qt/qt_text.h"
#include "common/safe_file.h"
#include "exchange/contact_import.h"
#include "exchange/qt/phone_module.h"

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
    : QDialog(parent), book_(book), contacts_(book.contacts()), database_(database) {
  buildLayout();
  buildGroups();
  connectHandlers();
  connectGroups();
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
  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setGeometry(kRightX, 253, kRightWidth, 2);

  btnOK = placedButton(this, QStringLiteral("OK"), QRect(424, 276, 75, 25));
  btnStorno = placedButton(this, QStringLiteral("Storno"), QRect(505, 276, 75, 25));
  buildContextMenu();
  setAcceptDrops(true);
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
  // A file dropped on a field is imported, as anywhere on the dialog, not written into it.
  for (QLineEdit* field : {editJmeno, editAdresa, editTelefon}) field->installEventFilter(this);
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
  connect(Importovatkontakty1, &QAction::triggered, this, &TfrmKontakty::Importovatkontakty1Click);
  connect(Exportovatkontakty1, &QAction::triggered, this, &TfrmKontakty::Exportovatkontakty1Click);
}

bool TfrmKontakty::eventFilter(QObject* watched, QEvent* event) {
  if (takesFileDrop(*event)) return true;
  if (watched == listboxJmena && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      const QListWidgetItem* current = listboxJmena->currentItem();
      showContextMenu(current ? listboxJmena->visualItemRect(current).center() : QPoint());
      return true;
    }
    listboxJmenaKeyDown();
  }
  // Enter on a group marks its members and, once they are marked, presses OK.
  if (watched == listSkupiny && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      markGroup([this] { btnOKClick(); });
      return true;
    }
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
  listGroups();
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
  groupsFollow(book_.replaceContact(toCp1250(editJmeno->text()), toCp1250(editAdresa->text()),
                                    toCp1250(editTelefon->text())));
  rebuildList();
  selectEntry(contacts_.book().currentContact());
}

void TfrmKontakty::btnSmazatClick() {
  if (!hasSelection()) return;
  const auto answer = showMessage(QStringLiteral("Opravdu chcete tento kontakt vymazat?"),
                                  QStringLiteral("Vymazání kontaktu"), MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  groupsFollow(book_.removeContact());
  rebuildList();
  selectEntry(0);
}

void TfrmKontakty::btnOznacitVseClick() { setAllChecks(Qt::Checked); }

void TfrmKontakty::btnOdznacitVseClick() { setAllChecks(Qt::Unchecked); }

std::vector<std::string> TfrmKontakty::markedAddresses() const {
  std::vector<std::string> marked;
  for (int row = 0; row < listboxJmena->count(); ++row) {
    if (listboxJmena->item(row)->checkState() == Qt::Checked) {
      marked.push_back(contacts_.book().record(row).addressText());
    }
  }
  return marked;
}

// On the Eurotel page there is nowhere to put an addressee: the dialog stays open.
void TfrmKontakty::btnOKClick() {
  if (shownPage_ == Page::Sms) {
    emit addressesChosen(chosenAddresses(markedAddresses(), toCp1250(editAdresa->text())));
    accept();
  } else if (shownPage_ == Page::Oskar) {
    emit oskarNumberChosen(toCp1250(editTelefon->text()));
    accept();
  }
}

void TfrmKontakty::btnStornoClick() { reject(); }

// ---------------------------------------------------------------------------------------------
// Import and export

namespace {

const QString kFilters = QStringLiteral("vCard (*.vcf);;CSV (*.csv)");

std::optional<ContactFormat> formatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("vcf")) return ContactFormat::VCard;
  if (suffix == QLatin1String("csv")) return ContactFormat::Csv;
  return std::nullopt;
}

void tellError(const QString& text) { showMessage(text, QStringLiteral("Chyba")); }

// The format of a file by its extension; a file of neither is told.
std::optional<ContactFormat> formatTold(const QString& path) {
  const auto format = formatOf(path);
  if (!format) {
    tellError(QStringLiteral("Soubor %1 není vCard (.vcf) ani CSV (.csv).")
                  .arg(QFileInfo(path).fileName()));
  }
  return format;
}

// The local .vcf and .csv files of a drag.
QStringList importableFiles(const QMimeData& dragged) {
  QStringList files;
  for (const QUrl& url : dragged.urls()) {
    if (url.isLocalFile() && formatOf(url.toLocalFile())) files << url.toLocalFile();
  }
  return files;
}

}  // namespace

void TfrmKontakty::Importovatkontakty1Click() {
  const QString path = chooseFile(this, {FileChoice::Open, QStringLiteral("Importovat kontakty"),
                                         QStringLiteral("Kontakty (*.vcf *.csv);;") + kFilters});
  if (!path.isEmpty()) importContacts(path);
}

void TfrmKontakty::importContacts(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const auto format = formatTold(path);
  if (!format) return;
  const auto cards = readContactFile(path.toStdString(), *format);
  if (!cards) {
    tellError(QStringLiteral("Soubor %1 nelze přečíst.").arg(name));
    return;
  }
  if (cards->empty()) {
    tellError(QStringLiteral("V souboru %1 není žádný kontakt.").arg(name));
    return;
  }
  const auto& book = contacts_.book();
  const ImportPlan plan = planImport(book.contacts(), book.room(), *cards, keptPhoneNumberByModule);
  const auto changes = book_.importContacts(plan);
  rebuildList();
  if (!changes || changes->empty()) return reportImport(plan.count, 0);
  groupsFollow(changes, [this, count = plan.count](int unmade) { reportImport(count, unmade); });
}

void TfrmKontakty::reportImport(const ImportCount& count, int unmadeGroups) {
  QString report = QString::fromStdString(importReport(count));
  if (unmadeGroups > 0) {
    report += QStringLiteral("\nNezaložené skupiny: %1 (jeden import založí nejvýše %2 skupin).")
                  .arg(unmadeGroups)
                  .arg(ContactGroups::kMostNewGroups);
  }
  if (phoneModuleMissing())
    report += QStringLiteral("\n\n") + QString::fromUtf8(kNumbersKeptAsWritten);
  showMessage(report, QStringLiteral("Import kontaktů"));
}

void TfrmKontakty::Exportovatkontakty1Click() {
  const QString path =
      chooseFile(this, {FileChoice::Save, QStringLiteral("Exportovat kontakty"), kFilters});
  if (path.isEmpty()) return;
  const auto format = formatTold(path);
  if (!format) return;
  using GroupMap = std::map<std::string, std::vector<std::string>>;
  auto groups = std::make_shared<GroupMap>();
  database_.read(
      this,
      [groups](Database& database) {
        auto read = ContactGroups(database).groupsByAddress();
        if (read) *groups = std::move(*read);
        return read.has_value();
      },
      [this, path, format = *format, groups](const JobEnd& end) {
        if (!database_.doneElseTold(end, QStringLiteral("Kontakty nelze exportovat"))) return;
        const auto contacts = contacts_.book().contacts();
        const GroupsOf groupsOf = [&](const ContactTexts& contact) {
          const auto found = groups->find(cp1250ToUtf8(contact.address));
          return found == groups->end() ? std::vector<std::string>{} : found->second;
        };
        if (!replaceFile(path.toStdString(), format == ContactFormat::VCard
                                                 ? vCardsOf(contacts, groupsOf)
                                                 : csvOf(contacts, groupsOf))) {
          tellError(QStringLiteral("Soubor %1 nelze uložit.").arg(QFileInfo(path).fileName()));
          return;
        }
        showMessage(QStringLiteral("Uloženo kontaktů: %1.").arg(contacts.size()),
                    QStringLiteral("Export kontaktů"));
      });
}

// A .vcf or .csv file dropped on the dialog is imported.
void TfrmKontakty::dragEnterEvent(QDragEnterEvent* event) {
  if (!importableFiles(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

bool TfrmKontakty::takesFileDrop(QEvent& event) {
  const auto type = event.type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto& drop = static_cast<QDropEvent&>(event);
  if (importableFiles(*drop.mimeData()).isEmpty()) return false;
  if (type == QEvent::Drop) {
    dropEvent(&drop);
  } else {
    drop.acceptProposedAction();
  }
  return true;
}

void TfrmKontakty::dropEvent(QDropEvent* event) {
  for (const QString& file : importableFiles(*event->mimeData())) importContacts(file);
  event->acceptProposedAction();
}

}  // namespace movarek

// ---------------------------------------------------------------------------------------------
// Groups

namespace movarek {

namespace {
const QString kGroupsCaption = QStringLiteral("Skupiny");
}

void TfrmKontakty::buildGroups() {
  auto* separator = new QFrame(this);
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setGeometry(8, 310, 572, 2);
  QLabel* label = placedLabel(this, QStringLiteral("Skupiny:"), QRect(8, 318, 60, 16));
  listSkupiny = new QListWidget(this);
  listSkupiny->setGeometry(70, 316, 175, 48);
  nameByLabel(*label, *listSkupiny, kGroupsCaption);
  btnUlozitSkupinu = placedButton(this, QStringLiteral("Uložit označené jako skupinu…"),
                                  QRect(kRightX, 316, kRightWidth, 23));
  btnPrejmenovatSkupinu =
      placedButton(this, QStringLiteral("Přejmenovat skupinu…"), QRect(kRightX, 341, 160, 23));
  btnSmazatSkupinu =
      placedButton(this, QStringLiteral("Smazat skupinu"), QRect(kRightX + 164, 341, 160, 23));
}

void TfrmKontakty::connectGroups() {
  // A click marks the members; Enter (the list's filter) also presses OK.
  connect(listSkupiny, &QListWidget::itemClicked, this, [this] { markGroup(); });
  listSkupiny->installEventFilter(this);
  connect(btnUlozitSkupinu, &QPushButton::clicked, this, &TfrmKontakty::saveMarkedAsGroup);
  connect(btnPrejmenovatSkupinu, &QPushButton::clicked, this, &TfrmKontakty::renameGroup);
  connect(btnSmazatSkupinu, &QPushButton::clicked, this, &TfrmKontakty::deleteGroup);
  connect(&database_, &ProgramDatabase::wentOff, this, &TfrmKontakty::enableGroups);
}

void TfrmKontakty::enableGroups() {
  for (QWidget* control : std::initializer_list<QWidget*>{
           listSkupiny, btnUlozitSkupinu, btnPrejmenovatSkupinu, btnSmazatSkupinu}) {
    control->setEnabled(!database_.off());
  }
}

void TfrmKontakty::listGroups(const QString& selected) {
  enableGroups();
  database_.fetch<std::vector<ContactGroup>>(
      this, [](Database& database) { return ContactGroups(database).all(); },
      [this, selected](std::vector<ContactGroup> listed) {
        groups_ = std::move(listed);
        listSkupiny->clear();
        for (const ContactGroup& group : groups_) {
          auto* item = new QListWidgetItem(QString::fromStdString(group.name), listSkupiny);
          item->setData(Qt::UserRole, QVariant::fromValue(group.id));
          if (item->text() == selected) listSkupiny->setCurrentItem(item);
        }
      });
}

std::int64_t TfrmKontakty::selectedGroup() const {
  const QListWidgetItem* item = listSkupiny->currentItem();
  return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void TfrmKontakty::groupsFollow(const std::optional<GroupChanges>& changes,
                                const std::function<void(int unmade)>& then) {
  if (!changes || changes->empty()) return;
  auto unmade = std::make_shared<int>(0);
  database_.change(
      this,
      [changes = *changes, unmade](Database& database) {
        const auto applied = ContactGroups(database).apply(changes);
        if (applied) *unmade = *applied;
        return applied.has_value();
      },
      [this, unmade, then](const JobEnd& end) {
        database_.doneElseTold(end, QStringLiteral("Skupiny kontaktů nelze upravit"));
        listGroups();
        if (then) then(*unmade);
      });
}

std::optional<std::string> TfrmKontakty::askGroupName(const QString& caption, const QString& name,
                                                      std::int64_t renamed) {
  const auto typed = askForText({caption, QStringLiteral("Název skupiny:"), name});
  if (!typed) return std::nullopt;
  const std::string trimmed = trimmedGroupName(typed->toStdString());
  if (trimmed.empty()) {
    tellError(QStringLiteral("Není zadán název skupiny!"));
    return std::nullopt;
  }
  const bool taken = std::ranges::any_of(groups_, [&](const ContactGroup& group) {
    return group.id != renamed && groupNameKey(group.name) == groupNameKey(trimmed);
  });
  if (taken) {
    tellError(QStringLiteral("Skupina %1 už existuje.").arg(QString::fromStdString(trimmed)));
    return std::nullopt;
  }
  return trimmed;
}

void TfrmKontakty::writeGroup(std::function<ContactGroups::Naming(ContactGroups&)> write,
                              const std::string& name, const QString& failure) {
  auto naming = std::make_shared<ContactGroups::Naming>(ContactGroups::Naming::Failed);
  database_.change(
      this,
      [write = std::move(write), naming](Database& database) {
        ContactGroups groups(database);
        *naming = write(groups);
        return *naming != ContactGroups::Naming::Failed;
      },
      [this, naming, name, failure](const JobEnd& end) {
        const QString shown = QString::fromStdString(name);
        if (*naming == ContactGroups::Naming::Taken) {
          tellError(QStringLiteral("Skupina %1 už existuje.").arg(shown));
        } else if (!end.done && end.fault) {
          database_.tellFailure(failure, *end.fault);
        }
        listGroups(shown);
      });
}

void TfrmKontakty::saveMarkedAsGroup() {
  std::vector<std::string> addresses;
  for (const auto& address : markedAddresses()) {
    if (!address.empty()) addresses.push_back(cp1250ToUtf8(address));
  }
  if (addresses.empty()) {
    tellError(QStringLiteral("Označte kontakty, které má skupina mít."));
    return;
  }
  const auto name = askGroupName(QStringLiteral("Nová skupina"), {}, 0);
  if (!name) return;
  writeGroup(
      [name = *name, addresses](ContactGroups& groups) { return groups.add(name, addresses); },
      *name, QStringLiteral("Skupinu nelze uložit"));
}

// Exactly the members still in the book are marked; those the book no longer holds are told.
void TfrmKontakty::markGroup(const std::function<void()>& then) {
  const auto id = selectedGroup();
  if (!id) return;
  database_.fetch<std::vector<std::string>>(
      this, [id](Database& database) { return ContactGroups(database).members(id); },
      [this, id, then](const std::vector<std::string>& members) {
        if (selectedGroup() != id) return;
        std::vector<bool> found(members.size(), false);
        for (int row = 0; row < listboxJmena->count(); ++row) {
          const std::string address = cp1250ToUtf8(contacts_.book().record(row).addressText());
          const auto member = std::find(members.begin(), members.end(), address);
          const bool marked = !address.empty() && member != members.end();
          if (marked) found[static_cast<std::size_t>(member - members.begin())] = true;
          listboxJmena->item(row)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
        }
        const auto missing = std::count(found.begin(), found.end(), false);
        if (missing > 0) {
          showMessage(QStringLiteral("Ve skupině %1 jsou kontakty, které v adresáři už nejsou: %2.")
                          .arg(listSkupiny->currentItem()->text())
                          .arg(missing),
                      kGroupsCaption);
        }
        if (then) then();
      });
}

void TfrmKontakty::renameGroup() {
  const auto id = selectedGroup();
  if (!id) return;
  const auto name =
      askGroupName(QStringLiteral("Přejmenovat skupinu"), listSkupiny->currentItem()->text(), id);
  if (!name) return;
  writeGroup([id, name = *name](ContactGroups& groups) { return groups.rename(id, name); }, *name,
             QStringLiteral("Skupinu nelze přejmenovat"));
}

// The contacts stay in the book.
void TfrmKontakty::deleteGroup() {
  const auto id = selectedGroup();
  if (!id) return;
  const auto answer =
      showMessage(QStringLiteral("Opravdu chcete skupinu %1 smazat? Kontakty v adresáři zůstanou.")
                      .arg(listSkupiny->currentItem()->text()),
                  kGroupsCaption, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  database_.change(
      this, [id](Database& database) { return ContactGroups(database).remove(id); },
      [this](const JobEnd& end) {
        database_.doneElseTold(end, QStringLiteral("Skupinu nelze smazat"));
        listGroups();
      });
}

}  // namespace movarek
