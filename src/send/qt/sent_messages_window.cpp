#include "send/qt/sent_messages_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeView>
#include <cerrno>

#include "common/diagnostics.h"
#include "common/qt/accessibility.h"
#include "common/qt/file_choice.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/qt/program_database.h"
#include "common/safe_file.h"
#include "send/qt/sent_messages_model.h"
#include "send/send_failure.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(600, 440);
const QString kCaption = QStringLiteral("Odeslané zprávy");
// How many records one job deletes: the database's thread goes on with other work between.
constexpr int kDeletedAtOnce = 1000;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString details(const SentRecord& record) {
  QString shown =
      QStringLiteral("Kdy: %1\nStránka: %2\nKomu: %3\n")
          .arg(fromUtf8(shownTime(record.sentAt)),
               record.page == Page::Oskar ? QStringLiteral("Oskar") : QStringLiteral("SMS E-mail"),
               fromUtf8(shownAddressees(record)));
  if (record.page == Page::Oskar) {
    shown += QStringLiteral("Odesílatel: %1 %2\n")
                 .arg(fromUtf8(record.senderPrefix), fromUtf8(record.sender));
  }
  shown += QStringLiteral("Stav: ") + shownState(record);
  if (!record.reason.empty())
    shown += QStringLiteral(" (%1)").arg(fromUtf8(shownReason(record.reason)));
  return shown + QStringLiteral("\n\n") + fromUtf8(record.text);
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
      model_(new SentMessagesModel(database, this)) {
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
  // The state takes what is left; the columns fit the list's width.
  listZpravy->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listZpravy->header()->setMinimumSectionSize(40);
  for (auto [column, width] : {std::pair{0, 118}, {1, 150}, {2, 205}}) {
    listZpravy->header()->resizeSection(column, width);
  }

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

void SentMessagesWindow::failed(const QString& action, const DatabaseFault& fault) {
  database_.tellFailure(action, fault);
  relist();
}

// A message still to go is cancelled only while it is one, a send under way never deleted:
// what the record became since it was listed decides, whatever the user saw.
void SentMessagesWindow::removeSelected() {
  const auto rows = listZpravy->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  const QString question =
      rows.size() > 1
          ? QStringLiteral("Opravdu chcete smazat vybrané zprávy (%1)?").arg(rows.size())
      : planSelected() ? QStringLiteral("Opravdu chcete zrušit vybranou naplánovanou zprávu?")
                       : QStringLiteral("Opravdu chcete vybranou zprávu smazat?");
  if (showMessage(question, kCaption, MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) return;
  std::vector<std::pair<std::int64_t, bool>> chosen;  // each record, and whether it was a plan
  for (const QModelIndex& row : rows) {
    const SentRecord& listed = model_->listedAt(row.row());
    chosen.emplace_back(listed.id, isPlan(listed.state));
  }
  auto kept = std::make_shared<int>(0);
  for (std::size_t first = 0; first < chosen.size(); first += kDeletedAtOnce) {
    std::vector<std::int64_t> records;
    std::vector<std::int64_t> plans;
    for (std::size_t i = first; i < std::min(chosen.size(), first + kDeletedAtOnce); ++i) {
      (chosen[i].second ? plans : records).push_back(chosen[i].first);
    }
    const bool last = first + kDeletedAtOnce >= chosen.size();
    database_.change(
        this,
        [records, plans, kept](Database& database) {
          SentMessages store(database);
          const auto removed = store.remove(records);
          const auto cancelled = removed ? store.cancel(plans) : std::nullopt;
          if (!cancelled) return false;
          *kept += static_cast<int>(records.size() + plans.size()) - *removed - *cancelled;
          return true;
        },
        [this, last, kept](const JobEnd& end) {
          if (!end.done && end.fault)
            return failed(QStringLiteral("Zprávy nelze smazat"), *end.fault);
          if (!last) return;
          tellKept(*kept);
          relist();
          emit recordsRemoved();
        });
  }
  listZpravy->setFocus();
}

void SentMessagesWindow::tellKept(int kept) {
  if (kept == 0) return;
  showMessage(
      kept == 1
          ? QStringLiteral("Zprávu už nelze zrušit: program ji začal odesílat.")
          : QStringLiteral("Zprávy (%1) už nelze zrušit: program je začal odesílat.").arg(kept),
      kCaption);
}

// The records shown: with a search typed, those it finds.
void SentMessagesWindow::removeAll() {
  const QString search = model_->search();
  const QString question =
      search.isEmpty()
          ? QStringLiteral("Opravdu chcete smazat všechny odeslané zprávy?")
          : QStringLiteral("Opravdu chcete smazat všechny zprávy, které hledání „%1“ najde?")
                .arg(search);
  if (showMessage(question, kCaption, MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) return;
  panelStav->setText(QStringLiteral("Zprávy se mažou…"));
  removeFoundFrom(search.toStdString());
}

void SentMessagesWindow::removeFoundFrom(const std::string& search) {
  auto removed = std::make_shared<int>(0);
  auto underWay = std::make_shared<int>(0);
  database_.change(
      this,
      [search, removed, underWay](Database& kept) {
        SentMessages store(kept);
        const auto count = store.removeFound(search, kDeletedAtOnce);
        if (!count) return false;
        *removed = *count;
        if (*removed == kDeletedAtOnce) return true;
        const auto sending = store.sendingFound(search);
        if (sending) *underWay = *sending;
        return sending.has_value();
      },
      [this, search, removed, underWay](const JobEnd& end) {
        if (!end.done && end.fault)
          return failed(QStringLiteral("Zprávy nelze smazat"), *end.fault);
        if (*removed == kDeletedAtOnce) return removeFoundFrom(search);
        tellKept(*underWay);
        relist();
        emit recordsRemoved();
      });
}

void SentMessagesWindow::exportShown() {
  const QString path =
      chooseFile(this, {FileChoice::Save, QStringLiteral("Exportovat odeslané zprávy"),
                        QStringLiteral("CSV (*.csv)")});
  if (path.isEmpty()) return;
  struct Written {
    int count = 0;
    bool stored = true;
    int error = 0;
  };
  auto written = std::make_shared<Written>();
  database_.read(
      this,
      [search = model_->search().toStdString(), file = path.toStdString(),
       written](Database& kept) {
        *written = {};
        bool read = true;
        // Streamed to the file as the records are read: a long history is never held whole.
        written->stored = replaceFileWith(file, [&](const ChunkWriter& write) {
          if (!write(sentCsvHeader())) return false;
          bool stored = true;
          read = SentMessages(kept).forEach(search, [&](const SentRecord& record) {
            ++written->count;
            return stored = write(sentCsvLine(record));
          });
          return stored && read;
        });
        if (!written->stored) written->error = errno;
        return read;
      },
      [this, path, written](const JobEnd& end) {
        if (!database_.doneElseTold(end, QStringLiteral("Zprávy nelze exportovat"))) return;
        if (!written->stored) {
          logFault("cannot store " + path.toStdString() + ": " + systemReason(written->error));
          showMessage(QStringLiteral("Soubor %1 nelze uložit.").arg(QFileInfo(path).fileName()),
                      QStringLiteral("Chyba"));
          return;
        }
        showMessage(QStringLiteral("Uloženo zpráv: %1.").arg(written->count),
                    QStringLiteral("Export zpráv"));
      },
      [this] {
        panelStav->setText(QStringLiteral(
            "Databázi právě používá jiný program; export proběhne, jakmile ji uvolní."));
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
