#pragma once
// The message templates where the user writes: the message fields' context menu stores the
// field's text as a template and inserts one at the cursor, and Ctrl+T pops the templates up at
// the cursor for the keyboard. A template goes in as typing it would: within the field's limit.
// The menus list the templates as last read from the database, read anew after every change, so
// that a menu never waits for the database.
#include <QObject>
#include <functional>
#include <vector>

#include "send/message_templates.h"

class QMenu;
class QPoint;

namespace movarek {

class ProgramDatabase;
class TMemo;
class TemplatesDialog;

class TemplateMenus : public QObject {
 public:
  TemplateMenus(ProgramDatabase& database, QWidget& window);

  // Reads the templates for the menus.
  void readTemplates();

  // `memo`'s context menu gets "Odeslat později…" (run by `planLater`) and the templates' items
  // after its own.
  void serve(TMemo& memo, std::function<void()> planLater);
  // The templates to insert, popped up at `memo`'s cursor, the first one active.
  void popUpAtCursor(TMemo& memo);

 private:
  void showContextMenu(TMemo& memo, const QPoint& at, const std::function<void()>& planLater);
  // "Vložit šablonu": one item a template, each inserting it into `memo`.
  QMenu* insertMenu(TMemo& memo, QWidget* parent);
  void storeText(TMemo& memo);
  void openDialog();

  ProgramDatabase& database_;
  QWidget& window_;
  TemplatesDialog* dialog_ = nullptr;
  std::vector<MessageTemplate> templates_;
};

}  // namespace movarek
