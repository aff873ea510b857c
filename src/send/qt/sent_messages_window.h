#pragma once
// "Odeslané zprávy": the sent messages, newest first, to look back at, search, send again,
// delete and export.
#include <QDialog>
#include <vector>

#include "send/sent_messages.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace movarek {

class SentMessagesModel;

class SentMessagesWindow : public QDialog {
  Q_OBJECT

 public:
  SentMessagesWindow(SentMessages& store, QWidget* parent);

  // Each opening: the whole list from the newest, the search field empty and focused.
  void FormActivate();

  QLineEdit* editHledat;
  QTreeView* listZpravy;
  QPlainTextEdit* memoPodrobnosti;
  QPushButton* btnPouzitZnovu;
  QPushButton* btnSmazat;
  QPushButton* btnSmazatVse;
  QPushButton* btnExportovat;
  QCheckBox* checkUkladat;
  QPushButton* btnZavrit;

 signals:
  // "Použít znovu": the record, whole, for its page to take.
  void reuseRequested(const movarek::SentRecord& record);

 private:
  void buildLayout();
  void connectHandlers();
  // Lists the records the search finds.
  void relist();
  void selectNewest(int firstInserted);
  void showDetails();
  std::vector<std::int64_t> selectedIds() const;

  void useAgain();
  void removeSelected();
  void removeAll();
  void exportShown();

  SentMessages& store_;
  SentMessagesModel* model_;
};

}  // namespace movarek
