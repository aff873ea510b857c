#include "send/qt/sent_messages_model.h"

#include <QElapsedTimer>
#include <QTimer>

namespace movarek {
namespace {

constexpr int kPageRows = 100;
// How many ids one step of a search looks through, and how long the steps for one key may take.
constexpr std::int64_t kStepIds = 10000;
constexpr qint64 kKeyBudgetMs = 25;
const char* const kHeaders[] = {"Kdy", "Komu", "Text", "Stav"};

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The start of the text on one line.
QString textStart(const std::string& text) {
  return fromUtf8(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}  // namespace

SentMessagesModel::SentMessagesModel(SentMessages& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void SentMessagesModel::list(const QString& search) {
  beginResetModel();
  search_ = search;
  rows_.clear();
  below_ = store_.newestId() + 1;
  complete_ = false;
  ++listing_;
  endResetModel();
  searchOn();
}

void SentMessagesModel::searchOn() {
  QElapsedTimer clock;
  clock.start();
  const std::string search = search_.toStdString();
  std::vector<SentRecord> found;
  while (!complete_ && found.size() < kPageRows && clock.elapsed() < kKeyBudgetMs) {
    const auto wanted = kPageRows - static_cast<int>(found.size());
    const std::int64_t lowest = std::max<std::int64_t>(0, below_ - kStepIds);
    auto step = store_.listed(search, below_, wanted, lowest);
    below_ = static_cast<int>(step.size()) == wanted ? step.back().id : lowest;
    complete_ = below_ <= 1;  // the first record's id is 1
    found.insert(found.end(), std::make_move_iterator(step.begin()),
                 std::make_move_iterator(step.end()));
  }
  if (!found.empty()) {
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(found.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(found.begin()),
                 std::make_move_iterator(found.end()));
    endInsertRows();
  }
  if (!complete_ && found.size() < kPageRows) {
    // A timer, not a queued call: the list's paint, posted at a lower priority, goes first.
    QTimer::singleShot(1, this, [this, listing = listing_] {
      if (listing == listing_) searchOn();
    });
  }
}

int SentMessagesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SentMessagesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::size(kHeaders));
}

QVariant SentMessagesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const SentRecord& record = listedAt(index.row());
  switch (index.column()) {
    case 0:
      return fromUtf8(shownTime(record.sentAt));
    case 1:
      return fromUtf8(shownAddressees(record));
    case 2:
      return textStart(record.text);
    default:
      return fromUtf8(std::string(stateName(record.state)));
  }
}

QVariant SentMessagesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return QString::fromUtf8(kHeaders[section]);
}

bool SentMessagesModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !complete_;
}

void SentMessagesModel::fetchMore(const QModelIndex& parent) {
  if (canFetchMore(parent)) searchOn();
}

}  // namespace movarek
