#pragma once
// The sent messages as the window lists them: newest first, narrowed by a search, and fetched a
// page at a time as the list is scrolled, so that a long history is never held whole. A search
// goes through the records a stretch of ids at a time and shows what it found once its time for
// a key is up; should the page not be full by then, it goes on between the user's keys.
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "send/sent_messages.h"

namespace movarek {

class SentMessagesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  SentMessagesModel(SentMessages& store, QObject* parent);

  // Lists anew from the newest record, holding `search`.
  void list(const QString& search);
  const QString& search() const { return search_; }
  const SentRecord& listedAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  // Searches on from where the last step ended until a page is found, the time is up or every
  // record has been looked at.
  void searchOn();

  SentMessages& store_;
  QString search_;
  std::vector<SentRecord> rows_;
  std::int64_t below_ = 0;  // the search goes on with the ids below this one
  bool complete_ = true;
  unsigned listing_ = 0;  // which listing a step left for later belongs to
};

}  // namespace movarek
