#include "send/qt/sent_messages_model.h"

namespace movarek {
namespace {

constexpr int kPageRows = 100;
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
  rows_ = store_.listed(search.toStdString(), 0, kPageRows);
  complete_ = rows_.size() < kPageRows;
  endResetModel();
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
  if (!canFetchMore(parent)) return;
  auto more = store_.listed(search_.toStdString(), rows_.back().id, kPageRows);
  complete_ = more.size() < kPageRows;
  if (more.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(more.begin()),
               std::make_move_iterator(more.end()));
  endInsertRows();
}

}  // namespace movarek
