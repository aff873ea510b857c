#include "send/qt/sent_messages_window.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

#include "common/qt/accessibility.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_clock.h"
#include "common/qt/program_database.h"
#include "common/qt/qt_text.h"
#include "send/page_names.h"
#include "send/qt/sent_messages_export.h"
#include "send/qt/sent_messages_model.h"
#include "send/qt/sent_messages_removal.h"
#include "send/send_failure.h"
#include "send/sent_delivery.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(600, 440);
const QString kCaption = QStringLiteral("Odeslané zprávy");

QString details(const SentRecord& record) {
  QString shown =
      QStringLiteral("Kdy: %1\nStránka: %2\nKomu: %3\n")
          .arg(qtFromUtf8(shownTime(record.sentAt)), qtFromUtf8(pageNames(record.page).tab),
               qtFromUtf8(shownAddressees(record)));
  if (record.page == Page::Oskar) {
    shown += QStringLiteral("Odesílatel: %1 %2\n")
                 .arg(qtFromUtf8(record.senderPrefix), qtFromUtf8(record.sender));
  }
  shown += QStringLiteral("Stav: ") + shownState(record);
  if (!record.reason.empty())
    shown += QStringLiteral(" (%1)").arg(qtFromUtf8(shownReason(record.reason)));
  if (record.delivery) {
    shown += QStringLiteral("\nDoručení: ") +
             qtFromUtf8(shownDelivery(record, ProgramClock::instance().now()));
  }
  return shown + QStringLiteral("\n\n") + qtFromUtf8(record.text);
}

// A record read whole on the database's thread, for `use` on the window's.
void readRecord(ProgramDatabase& database, QObject* receiver, std::int64_t id,
                const std::function<void(const SentRecord&)>& use) {
  database.fetch<std::optional<SentRecord>>(
      receiver, [id](Database& kept) { return SentMessages(kept).record(id); },
      [use](const std::optional<SentRecord>& record) {
        if (record) use(*record);
      });
}

}  // namespace

SentMessagesWindow::SentMessagesWindow(ProgramDatabase& database, PutBack putBack, QWidget* parent)
    : QDialog(parent),
      database_(database),
      putBack_(std::move(putBack)),
      model_(new SentMessagesModel(database, this)),
      removal_(new SentMessagesRemoval(database, kCaption, this)) {
  buildLayout();
  connectHandlers();
}

void SentMessagesWindow::buildLayout() {
  setWindowTitle(kCaption);
  fixAndCentre(*this, kWindowSize);
  QLabel* searchLabel = labelAt(this, QStringLiteral("Hledat:"), QPoint(8, 11));
  editHledat = new QLineEdit(this);
  editHledat->setGeometry(60, 8, 300, 21);
  editHledat->setClearButtonEnabled(true);
  nameByLabel(*searchLabel, *editHledat, QStringLiteral("Hledat"));
  checkUkladat = new QCheckBox(QStringLiteral("Ukládat odeslané zprávy"), this);
  checkUkladat->setGeometry(372, 8, 220, 21);

  listZpravy = new QTreeView(this);
  listZpravy->setGeometry(8, 38, 584, 200);
  listZpravy->setModel(model_);
  listZpravy->setRootIsDecorated(false);
  listZpravy->setUniformRowHeights(true);
  listZpravy->setSelectionMode(QAbstractItemView::ExtendedSelection);
  listZpravy->setSelectionBehavior(QAbstractItemView::SelectRows);
  listZpravy->setAccessibleName(kCaption);
  sizeColumns();

  memoPodrobnosti = new QPlainTextEdit(this);
  memoPodrobnosti->setGeometry(8, 246, 584, 128);
  memoPodrobnosti->setReadOnly(true);
  // Reached by Tab and read with the arrows, as a screen reader's user reads it; Tab goes on.
  memoPodrobnosti->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                           Qt::TextSelectableByMouse);
  memoPodrobnosti->setFocusPolicy(Qt::StrongFocus);
  memoPodrobnosti->setTabChangesFocus(true);
  memoPodrobnosti->setAccessibleName(QStringLiteral("Podrobnosti zprávy"));

  int x = 8;
  auto nextButton = [&](const char* caption, int width) {
    QPushButton* created = placedButton(this, QString::fromUtf8(caption), QRect(x, 384, width, 25));
    x += width + 6;
    return created;
  };
  btnPouzitZnovu = nextButton("Použít znovu", 100);
  btnSmazat = nextButton("Smazat", 70);
  btnSmazatVse = nextButton("Smazat vše", 80);
  btnExportovat = nextButton("Exportovat…", 90);
  btnOdeslatHned = nextButton("Odeslat hned", 100);
  btnZavrit = placedButton(this, QStringLiteral("Zavřít"), QRect(522, 384, 70, 25));
  btnPouzitZnovu->setDefault(true);

  panelStav = new QLabel(this);
  panelStav->setGeometry(8, 414, 584, 20);
  panelStav->setAccessibleName(QStringLiteral("Stav"));
  setAccessibleRole(*panelStav, QAccessible::StatusBar);
}

// The columns fit the list's width, its scroll bar shown or not, and a state shows whole, a
// planned message's time included: the text, shown whole in the details, has what is left.
void SentMessagesWindow::sizeColumns() {
  listZpravy->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* header = listZpravy->header();
  header->setMinimumSectionSize(40);
  const QStyle* style = listZpravy->style();
  // The widest state, a planned message's with its time, measured as the list measures a row.
  SentRecord planned;
  planned.state = SentState::Planned;
  QStyleOptionViewItem widest;
  widest.initFrom(listZpravy);
  widest.features = QStyleOptionViewItem::HasDisplay;
  widest.text = shownState(planned);
  const int state =
      style->sizeFromContents(QStyle::CT_ItemViewItem, &widest, QSize(), listZpravy).width();
  const int inside = listZpravy->width() - 2 * listZpravy->frameWidth() -
                     style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, listZpravy);
  constexpr int kWhen = 118;
  constexpr int kAddressees = 150;
  header->resizeSection(0, kWhen);
  header->resizeSection(1, kAddressees);
  header->resizeSection(2, inside - kWhen - kAddressees - state);
}

void SentMessagesWindow::connectHandlers() {
  connect(editHledat, &QLineEdit::textChanged, this, &SentMessagesWindow::relist);
  editHledat->installEventFilter(this);
  connect(model_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first) { selectNewest(first); });
  connect(model_, &SentMessagesModel::held, this, [this] {
    panelStav->setText(QStringLiteral(
        "Databázi právě používá jiný program; záznamy se ukážou, jakmile ji uvolní."));
  });
  connect(model_, &SentMessagesModel::read, panelStav, &QLabel::clear);
  connect(model_, &QAbstractItemModel::dataChanged, this, &SentMessagesWindow::showDetails);
  QScrollBar* rows = listZpravy->verticalScrollBar();
  connect(rows, &QScrollBar::valueChanged, this, &SentMessagesWindow::listMoreAtTheEnd);
  connect(rows, &QScrollBar::rangeChanged, this, &SentMessagesWindow::listMoreAtTheEnd);
  connect(listZpravy->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &SentMessagesWindow::showDetails);
  connect(listZpravy, &QTreeView::doubleClicked, this, &SentMessagesWindow::useAgain);
  connect(btnPouzitZnovu, &QPushButton::clicked, this, &SentMessagesWindow::useAgain);
  connect(btnSmazat, &QPushButton::clicked, this, &SentMessagesWindow::removeSelected);
  connect(btnSmazatVse, &QPushButton::clicked, this, &SentMessagesWindow::removeAll);
  connect(btnExportovat, &QPushButton::clicked, this, &SentMessagesWindow::exportShown);
  connect(btnOdeslatHned, &QPushButton::clicked, this, [this] {
    const auto ids = selectedIds();
    if (ids.size() != 1) return;
    emit sendNowRequested(ids.front());
  });
  connect(checkUkladat, &QCheckBox::clicked, this, &SentMessagesWindow::keepRecording);
  connect(btnZavrit, &QPushButton::clicked, this, &QDialog::reject);
  connect(&database_, &ProgramDatabase::wentOff, this, &SentMessagesWindow::showDatabaseOff);
  connect(removal_, &SentMessagesRemoval::failed, this, &SentMessagesWindow::relist);
  connect(removal_, &SentMessagesRemoval::removed, this, [this] {
    relist();
    emit recordsRemoved();
  });
  // Delete in the list deletes, as in any list of the desktop.
  auto* deleteKey = new QShortcut(QKeySequence::Delete, listZpravy);
  deleteKey->setContext(Qt::WidgetShortcut);
  connect(deleteKey, &QShortcut::activated, this, &SentMessagesWindow::removeSelected);
}

bool SentMessagesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editHledat && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      listZpravy->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void SentMessagesWindow::FormActivate() {
  {
    const QSignalBlocker quiet(editHledat);
    editHledat->clear();
  }
  editHledat->setFocus();
  if (database_.off()) {
    showDatabaseOff();
    return;
  }
  database_.fetch<bool>(
      this, [](Database& kept) { return SentMessages(kept).recording(); },
      [this](bool on) { checkUkladat->setChecked(on); });
  relist();
}

void SentMessagesWindow::plansChanged() {
  if (isVisible() && !database_.off()) relist();
}

void SentMessagesWindow::deliveryChanged(std::int64_t id) {
  if (isVisible() && !database_.off()) model_->renew(id);
}

void SentMessagesWindow::showDatabaseOff() {
  for (QWidget* control :
       std::initializer_list<QWidget*>{editHledat, checkUkladat, listZpravy, memoPodrobnosti,
                                       btnPouzitZnovu, btnSmazat, btnSmazatVse, btnExportovat}) {
    control->setEnabled(false);
  }
  checkUkladat->setChecked(false);
  panelStav->setText(
      QStringLiteral("Odeslané zprávy, skupiny a šablony se do ukončení programu neukládají."));
  btnZavrit->setFocus();
}

void SentMessagesWindow::relist() {
  panelStav->clear();
  model_->list(editHledat->text());
  showDetails();
}

// The next page is read once the last rows listed come into sight.
void SentMessagesWindow::listMoreAtTheEnd() {
  const QScrollBar* rows = listZpravy->verticalScrollBar();
  if (rows->value() >= rows->maximum() - rows->pageStep()) model_->listMore();
}

// The newest record found is selected, whenever the search finds it.
void SentMessagesWindow::selectNewest(int firstInserted) {
  if (firstInserted == 0) listZpravy->setCurrentIndex(model_->index(0, 0));
}

// One message still to go is selected.
bool SentMessagesWindow::planSelected() const {
  const auto rows = listZpravy->selectionModel()->selectedRows();
  return rows.size() == 1 && isPlan(model_->listedAt(rows.front().row()).state);
}

std::vector<std::int64_t> SentMessagesWindow::selectedIds() const {
  std::vector<std::int64_t> ids;
  for (const QModelIndex& row : listZpravy->selectionModel()->selectedRows()) {
    ids.push_back(model_->listedAt(row.row()).id);
  }
  return ids;
}

void SentMessagesWindow::showDetails() {
  const auto ids = selectedIds();
  memoPodrobnosti->clear();
  btnPouzitZnovu->setEnabled(ids.size() == 1);
  btnSmazat->setEnabled(!ids.empty());
  btnOdeslatHned->setEnabled(planSelected());
  if (ids.size() != 1) return;
  readRecord(database_, this, ids.front(), [this, id = ids.front()](const SentRecord& record) {
    if (selectedIds() == std::vector{id}) memoPodrobnosti->setPlainText(details(record));
  });
}

void SentMessagesWindow::useAgain() {
  const auto ids = selectedIds();
  if (ids.size() != 1) return;
  readRecord(database_, this, ids.front(), [this](const SentRecord& record) {
    if (isVisible() && putBack_(record)) accept();
  });
}

void SentMessagesWindow::removeSelected() {
  std::vector<SentMessagesRemoval::Chosen> chosen;
  for (const QModelIndex& row : listZpravy->selectionModel()->selectedRows()) {
    const SentRecord& listed = model_->listedAt(row.row());
    chosen.push_back({listed.id, isPlan(listed.state)});
  }
  if (removal_->removeChosen(chosen)) listZpravy->setFocus();
}

// The records shown: with a search typed, those it finds.
void SentMessagesWindow::removeAll() {
  if (removal_->removeFound(model_->search()))
    panelStav->setText(QStringLiteral("Zprávy se mažou…"));
}

void SentMessagesWindow::exportShown() {
  exportSentMessages(database_, this, model_->search().toStdString(), [this] {
    panelStav->setText(
        QStringLiteral("Databázi právě používá jiný program; export proběhne, jakmile ji uvolní."));
  });
}

void SentMessagesWindow::keepRecording(bool on) {
  database_.change(
      this, [on](Database& kept) { return SentMessages(kept).setRecording(on); },
      [this, on](const JobEnd& end) {
        if (end.done || !end.fault) return;
        checkUkladat->setChecked(!on);
        database_.tellFailure(QStringLiteral("Nastavení nelze uložit"), *end.fault);
      });
}

}  // namespace movarek
