#pragma once
// "Šablony": the message templates listed in their order, to change, move and delete.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace movarek {

class MessageTemplates;

class TemplatesDialog : public QDialog {
  Q_OBJECT

 public:
  TemplatesDialog(MessageTemplates& templates, QWidget* parent);

  // Each opening: the list as stored, the first one selected.
  void FormActivate();

  QListWidget* listSablony;
  QPushButton* btnUpravit;
  QPushButton* btnNahoru;
  QPushButton* btnDolu;
  QPushButton* btnSmazat;
  QPushButton* btnZavrit;

 private:
  void relist(int selectedRow);
  std::int64_t selectedId() const;
  void changeSelected();
  void moveSelected(int by);
  void removeSelected();

  MessageTemplates& templates_;
};

}  // namespace movarek
