#pragma once
// "Šablony": the message templates listed in their order, to change, move and delete. The list
// is read, and every change written, on the database's thread.
#include <QDialog>
#include <cstdint>
#include <functional>

#include "send/message_templates.h"

class QListWidget;
class QPushButton;

namespace movarek {

class ProgramDatabase;
struct JobEnd;

class TemplatesDialog : public QDialog {
  Q_OBJECT

 public:
  TemplatesDialog(ProgramDatabase& database, QWidget* parent);

  // Each opening: the list as stored, the first one selected.
  void FormActivate();

  QListWidget* listSablony;
  QPushButton* btnUpravit;
  QPushButton* btnNahoru;
  QPushButton* btnDolu;
  QPushButton* btnSmazat;
  QPushButton* btnZavrit;

 signals:
  // The templates were changed: menus that list them read them anew.
  void changed();

 private:
  void relist(int selectedRow);
  std::int64_t selectedId() const;
  void changeSelected();
  void moveSelected(int by);
  void removeSelected();
  // Writes a change of the templates, then lists them anew with `selectedRow` selected; tells
  // `failure` should it not be written.
  void write(std::function<bool(MessageTemplates&)> change, const QString& failure,
             int selectedRow);

  ProgramDatabase& database_;
};

// The templates as stored, read on the database's thread for `receiver`.
void readStoredTemplates(ProgramDatabase& database, QObject* receiver,
                         std::function<void(const std::vector<MessageTemplate>&)> use);

}  // namespace movarek
