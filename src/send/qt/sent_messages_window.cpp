#include "send/qt/sent_messages_window.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <cerrno>

#include "common/diagnostics.h"
#include "common/qt/accessibility.h"
#include "common/qt/file_choice.h"
#include "common/qt/message_box.h"
#include "common/qt/placed_controls.h"
#include "common/safe_file.h"
#include "send/qt/sent_messages_model.h"

namespace movarek {
namespace {

constexpr QSize kWindowSize(600, 420);
const QString kCaption = QStringLiteral("Odeslané zprávy");

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
  shown += QStringLiteral("Stav: ") + fromUtf8(std::string(stateName(record.state)));
  if (!record.reason.empty()) shown += QStringLiteral(" (%1)").arg(fromUtf8(record.reason));
  return shown + QStringLiteral("\n\n") + fromUtf8(record.text);
}

}  // namespace

SentMessagesWindow::SentMessagesWindow(SentMessages& store, PutBack putBack, QWidget* parent)
    : QDialog(parent),
      store_(store),
      putBack_(std::move(putBack)),
      model_(new SentMessagesModel(store, this)) {
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
  btnZavrit = placedButton(this, QStringLiteral("Zavřít"), QRect(522, 384, 70, 25));
  btnPouzitZnovu->setDefault(true);
}

void SentMessagesWindow::connectHandlers() {
  connect(editHledat, &QLineEdit::textChanged, this, &SentMessagesWindow::relist);
  editHledat->installEventFilter(this);
  connect(model_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first) { selectNewest(first); });
  connect(listZpravy->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &SentMessagesWindow::showDetails);
  connect(listZpravy, &QTreeView::doubleClicked, this, &SentMessagesWindow::useAgain);
  connect(btnPouzitZnovu, &QPushButton::clicked, this, &SentMessagesWindow::useAgain);
  connect(btnSmazat, &QPushButton::clicked, this, &SentMessagesWindow::removeSelected);
  connect(btnSmazatVse, &QPushButton::clicked, this, &SentMessagesWindow::removeAll);
  connect(btnExportovat, &QPushButton::clicked, this, &SentMessagesWindow::exportShown);
  connect(checkUkladat, &QCheckBox::clicked, this, [this](bool on) {
    if (!store_.setRecording(on)) checkUkladat->setChecked(!on);
  });
  connect(btnZavrit, &QPushButton::clicked, this, &QDialog::reject);
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
  checkUkladat->setChecked(store_.recording());
  editHledat->clear();
  relist();
  editHledat->setFocus();
}

void SentMessagesWindow::relist() {
  model_->list(editHledat->text());
  showDetails();
}

// The newest record found is selected, whenever the search finds it.
void SentMessagesWindow::selectNewest(int firstInserted) {
  if (firstInserted == 0) listZpravy->setCurrentIndex(model_->index(0, 0));
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
  const bool one = ids.size() == 1;
  const auto record = one ? store_.record(ids.front()) : std::nullopt;
  memoPodrobnosti->setPlainText(record ? details(*record) : QString());
  btnPouzitZnovu->setEnabled(record.has_value());
  btnSmazat->setEnabled(!ids.empty());
}

void SentMessagesWindow::useAgain() {
  const auto ids = selectedIds();
  if (ids.size() != 1) return;
  const auto record = store_.record(ids.front());
  if (!record || !putBack_(*record)) return;
  accept();
}

void SentMessagesWindow::removeSelected() {
  const auto ids = selectedIds();
  if (ids.empty()) return;
  const QString question =
      ids.size() == 1
          ? QStringLiteral("Opravdu chcete vybranou zprávu smazat?")
          : QStringLiteral("Opravdu chcete smazat vybrané zprávy (%1)?").arg(ids.size());
  if (showMessage(question, kCaption, MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes) return;
  store_.remove(ids);
  relist();
  listZpravy->setFocus();
}

void SentMessagesWindow::removeAll() {
  if (showMessage(QStringLiteral("Opravdu chcete smazat všechny odeslané zprávy?"), kCaption,
                  MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes)
    return;
  store_.removeAll();
  relist();
}

void SentMessagesWindow::exportShown() {
  const QString path =
      chooseFile(this, {FileChoice::Save, QStringLiteral("Exportovat odeslané zprávy"),
                        QStringLiteral("CSV (*.csv)")});
  if (path.isEmpty()) return;
  std::string csv = sentCsvHeader();
  int count = 0;
  const bool read = store_.forEach(model_->search().toStdString(), [&](const SentRecord& record) {
    csv += sentCsvLine(record);
    ++count;
  });
  if (!read) return;  // the database's fault has been told
  if (!replaceFile(path.toStdString(), csv)) {
    logFault("cannot store " + path.toStdString() + ": " + systemReason(errno));
    showMessage(QStringLiteral("Soubor %1 nelze uložit.").arg(QFileInfo(path).fileName()),
                QStringLiteral("Chyba"));
    return;
  }
  showMessage(QStringLiteral("Uloženo zpráv: %1.").arg(count), QStringLiteral("Export zpráv"));
}

}  // namespace movarek
