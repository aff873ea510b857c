#pragma once
// "Odeslané zprávy": the sent messages, newest first, to look back at, search, send again,
// delete and export.
#include <QDialog>
#include <functional>
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
  // `putBack` takes a record for "Použít znovu", or tells that the user kept what was written.
  using PutBack = std::function<bool(const SentRecord& record)>;
  SentMessagesWindow(SentMessages& store, PutBack putBack, QWidget* parent);

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

 protected:
  // Enter in the search goes to the list: it finds, it does not use a record.
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  PutBack putBack_;
  SentMessagesModel* model_;
};

}  // namespace movarek
