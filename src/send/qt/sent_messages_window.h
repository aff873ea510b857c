#pragma once
// "Odeslané zprávy": the sent messages, newest first, to look back at, search, send again,
// delete and export. Everything it asks of the database is done on the database's thread: the
// window opens at once, and says so in its status line when another program holds the file.
#include <QDialog>
#include <functional>
#include <vector>

#include "send/sent_messages.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace movarek {

class ProgramDatabase;
class SentMessagesModel;
class SentMessagesRemoval;

class SentMessagesWindow : public QDialog {
  Q_OBJECT

 public:
  // `putBack` takes a record for "Použít znovu", or tells that the user kept what was written.
  using PutBack = std::function<bool(const SentRecord& record)>;
  SentMessagesWindow(ProgramDatabase& database, PutBack putBack, QWidget* parent);

  // Each opening: the whole list from the newest, the search field empty and focused.
  void FormActivate();
  // Messages still to go changed (one went, or failed): listed anew while the window is open.
  void plansChanged();
  // The delivery of the record `id` was reported: its row shows it while the window is open.
  void deliveryChanged(std::int64_t id);

  QLineEdit* editHledat;
  QCheckBox* checkUkladat;
  QTreeView* listZpravy;
  QPlainTextEdit* memoPodrobnosti;
  QPushButton* btnPouzitZnovu;
  QPushButton* btnSmazat;
  QPushButton* btnSmazatVse;
  QPushButton* btnExportovat;
  QPushButton* btnOdeslatHned;
  QPushButton* btnZavrit;
  QLabel* panelStav;

 signals:
  // "Odeslat hned" on a message still to go.
  void sendNowRequested(std::int64_t id);
  // Records were deleted: a message still to go among them goes no more.
  void recordsRemoved();

 protected:
  // Enter in the search goes to the list: it finds, it does not use a record.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  void sizeColumns();
  void connectHandlers();
  // Lists the records the search finds.
  void relist();
  void listMoreAtTheEnd();
  void selectNewest(int firstInserted);
  void showDetails();
  std::vector<std::int64_t> selectedIds() const;
  bool planSelected() const;
  // The controls that need the database, usable only while it is on.
  void showDatabaseOff();

  void useAgain();
  void removeSelected();
  void removeAll();
  void exportShown();
  void keepRecording(bool on);

  ProgramDatabase& database_;
  PutBack putBack_;
  SentMessagesModel* model_;
  SentMessagesRemoval* removal_;
};

}  // namespace movarek
