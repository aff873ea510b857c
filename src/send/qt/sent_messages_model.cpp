#include "send/qt/sent_messages_model.h"

#include <algorithm>
#include <optional>

#include "common/qt/program_clock.h"
#include "common/qt/qt_text.h"
#include "send/sent_delivery.h"

namespace movarek {
namespace {

constexpr int kPageRows = 100;
// How many ids one step of a search looks through.
constexpr std::int64_t kStepIds = 10000;
const char* const kHeaders[] = {"Kdy", "Komu", "Text", "Stav"};

// The start of the text on one line.
QString textStart(const std::string& text) {
  return qtFromUtf8(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}  // namespace

QString shownState(const SentRecord& record) {
  const QString state = qtFromUtf8(stateName(record.state));
  if (record.state != SentState::Planned) return state;
  return state + QStringLiteral(" na ") + qtFromUtf8(shownTime(record.dueAt));
}

QString listedState(const SentRecord& record) {
  if (!record.delivery) return shownState(record);
  return qtFromUtf8(listedDelivery(record, ProgramClock::instance().now()));
}

// One listing's search, shared with the step on the database's thread, which alone uses its
// steps (one at a time); a newer listing leaves it unwanted.
struct SentMessagesModel::Listing {
  std::string search;
  bool plansListed = false;         // the messages still to go come first
  std::optional<SentSearch> steps;  // begun at the first step, once the newest id is known
  ReadWanted wanted = std::make_shared<std::atomic_bool>(true);
  bool stepping = false;
  bool complete = false;
  int foundForThePage = 0;
};

SentMessagesModel::SentMessagesModel(ProgramDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), database_(database) {}

void SentMessagesModel::list(const QString& search) {
  if (listing_) *listing_->wanted = false;
  beginResetModel();
  search_ = search;
  rows_.clear();
  listing_ = std::make_shared<Listing>();
  listing_->search = search.toStdString();
  endResetModel();
  searchOn();
}

bool SentMessagesModel::complete() const { return !listing_ || listing_->complete; }

void SentMessagesModel::searchOn() {
  const std::shared_ptr<Listing> listing = listing_;
  if (listing->stepping || listing->complete) return;
  listing->stepping = true;
  const int wanted = kPageRows - listing->foundForThePage;
  struct Step {
    std::vector<SentRecord> records;
    bool complete = false;
  };
  auto step = std::make_shared<Step>();
  const bool plansFirst = !listing->plansListed;
  database_.read(
      this,
      [listing, step, wanted, plansFirst](Database& database) {
        SentMessages store(database);
        if (plansFirst) {
          auto plans = store.plans(listing->search);
          if (plans) step->records = std::move(*plans);
          return plans.has_value();
        }
        if (!listing->steps) {
          const auto newest = store.newestId();
          if (!newest) return false;
          listing->steps.emplace(listing->search, *newest);
        }
        auto records = listing->steps->step(store, wanted, kStepIds);
        if (!records) return false;
        step->records = std::move(*records);
        step->complete = listing->steps->complete();
        return true;
      },
      [this, listing, step, plansFirst](const JobEnd& end) {
        listing->stepping = false;
        if (!end.done || listing != listing_) return;
        if (plansFirst) {
          listing->plansListed = true;
        } else {
          listing->complete = step->complete;
        }
        found(listing, std::move(step->records));
      },
      [this, listing] {
        if (listing == listing_) emit held();
      },
      listing->wanted);
}

void SentMessagesModel::found(const std::shared_ptr<Listing>& listing,
                              std::vector<SentRecord> records) {
  if (!records.empty()) {
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(records.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(records.begin()),
                 std::make_move_iterator(records.end()));
    endInsertRows();
  }
  listing->foundForThePage += static_cast<int>(records.size());
  emit read();
  // A page not yet full is searched on; a full one waits until the list is scrolled.
  if (listing->foundForThePage < kPageRows) {
    searchOn();
  } else {
    listing->foundForThePage = 0;
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
      return qtFromUtf8(shownTime(record.sentAt));
    case 1:
      return qtFromUtf8(shownAddressees(record));
    case 2:
      return textStart(record.text);
    default:
      return listedState(record);
  }
}

QVariant SentMessagesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return QString::fromUtf8(kHeaders[section]);
}

void SentMessagesModel::listMore() {
  if (listing_) searchOn();
}

void SentMessagesModel::renew(std::int64_t id) {
  if (std::ranges::find(rows_, id, &SentRecord::id) == rows_.end()) return;
  database_.fetch<std::optional<SentRecord>>(
      this, [id](Database& kept) { return SentMessages(kept).record(id); },
      [this, id](const std::optional<SentRecord>& record) {
        const auto row = std::ranges::find(rows_, id, &SentRecord::id);
        if (!record || row == rows_.end()) return;
        row->state = record->state;
        row->reason = record->reason;
        row->reportReference = record->reportReference;
        row->delivery = record->delivery;
        row->deliveryReason = record->deliveryReason;
        const int at = static_cast<int>(row - rows_.begin());
        emit dataChanged(index(at, 0), index(at, columnCount() - 1));
      });
}

}  // namespace movarek
