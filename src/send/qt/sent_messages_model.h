#pragma once
// The sent messages as the window lists them: newest first, narrowed by a search, and fetched a
// page at a time as the list is scrolled, so that a long history is never held whole. The
// records are read on the database's thread a stretch of ids at a time; each stretch read shows
// what it found at once, and the search goes on until a page is full.
#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "common/qt/program_database.h"
#include "send/sent_messages.h"

namespace movarek {

// "odesláno", "naplánováno na 10.12.2026 14:30" and the like.
QString shownState(const SentRecord& record);
// As the list shows it: a modem message's delivery in place of its state ("doručeno", "čeká na
// doručenku (3 h)"), which a delivery reported implies.
QString listedState(const SentRecord& record);

// The messages still to go come first (the soonest first), then the rest, newest first.
class SentMessagesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  SentMessagesModel(ProgramDatabase& database, QObject* parent);

  // Lists anew from the newest record, holding `search`.
  void list(const QString& search);
  const QString& search() const { return search_; }
  const SentRecord& listedAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  // Every record the search finds has been listed.
  bool complete() const;
  // Lists the next page, unless one is being read or there is no more. The view asks for it as
  // its end comes into sight: not through fetchMore, which the tree view also calls on every
  // layout, so that each page read would fetch the next until the whole history was held.
  void listMore();
  // The record `id`, should it be listed, read anew: its state and delivery.
  void renew(std::int64_t id);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // Another program holds the database: the records come once it lets go.
  void held();
  // Records have been read (or it is known that there are none).
  void read();

 private:
  struct Listing;
  // Searches on from where the last step ended.
  void searchOn();
  void found(const std::shared_ptr<Listing>& listing, std::vector<SentRecord> records);

  ProgramDatabase& database_;
  QString search_;
  std::vector<SentRecord> rows_;
  std::shared_ptr<Listing> listing_;
};

}  // namespace movarek
