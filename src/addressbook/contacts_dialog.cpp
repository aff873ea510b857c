#include "addressbook/contacts_dialog.h"

#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>

#include "addressbook/address_choice.h"
#include "addressbook/contact_store.h"
#include "addressbook/dialog_frame.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "common/message_box.h"
#include "common/qt_text.h"

namespace movarek {
namespace {

constexpr int kTelephoneLength = 9;
constexpr int kRightX = 256;
constexpr int kRightWidth = 324;

QFont boldArial() {
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  return font;
}

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

QLineEdit* labelledEdit(QWidget* parent, const QString& caption, int top, int width) {
  placedLabel(parent, caption, QRect(kRightX, top, kRightWidth, 16));
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(kRightX, top + 16, width, 21);
  return edit;
}

}  // namespace

TfrmKontakty::TfrmKontakty(TfrmMain& main)
    : QDialog(&main), main_(main), contacts_(main.contacts()) {
  buildLayout();
  connectHandlers();
  FormCreate();
}

void TfrmKontakty::buildLayout() {
  setWindowTitle(QStringLiteral("Kontakty"));
  fixAndCentre(*this, QSize(588, 308));

  listboxJmena = new QListWidget(this);
  listboxJmena->setGeometry(8, 8, 237, 273);
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
}

bool TfrmKontakty::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listboxJmena && event->type() == QEvent::KeyPress) listboxJmenaKeyDown();
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

void TfrmKontakty::FormActivate() { selectEntry(0); }

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
  contacts_.ReplaceContact(toCp1250(editJmeno->text()), toCp1250(editAdresa->text()),
                           toCp1250(editTelefon->text()));
  rebuildList();
  selectEntry(contacts_.book().currentContact());
}

void TfrmKontakty::btnSmazatClick() {
  if (!hasSelection()) return;
  const auto answer = showMessage(QStringLiteral("Opravdu chcete tento kontakt vymazat?"),
                                  QStringLiteral("Vymazání kontaktu"), MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  contacts_.RemoveContact();
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

void TfrmKontakty::btnOKClick() {
  const QString page = main_.activePageName();
  if (page == QStringLiteral("SMS")) {
    const auto chosen = chosenAddresses(markedAddresses(), toCp1250(editAdresa->text()));
    main_.editAdresa->setText(fromCp1250(chosen));
    main_.memoText->setFocus();
    accept();
  } else if (page == QStringLiteral("Oskar")) {
    main_.PutOskarNumber(toCp1250(editTelefon->text()));
    accept();
  }
  // On the Eurotel page there is nowhere to put an addressee: the dialog stays open.
}

void TfrmKontakty::btnStornoClick() { reject(); }

}  // namespace movarek
