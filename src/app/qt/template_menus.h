#pragma once
// The message templates where the user writes: the message fields' context menu stores the
// field's text as a template and inserts one at the cursor, and Ctrl+T pops the templates up at
// the cursor for the keyboard. A template goes in as typing it would: within the field's limit.
#include <QObject>

class QMenu;
class QPoint;

namespace movarek {

class MessageTemplates;
class TMemo;
class TemplatesDialog;

class TemplateMenus : public QObject {
 public:
  TemplateMenus(MessageTemplates& templates, QWidget& window);

  // `memo`'s context menu gets the templates' items after its own.
  void serve(TMemo& memo);
  // The templates to insert, popped up at `memo`'s cursor, the first one active.
  void popUpAtCursor(TMemo& memo);

 private:
  void showContextMenu(TMemo& memo, const QPoint& at);
  // "Vložit šablonu": one item a template, each inserting it into `memo`.
  QMenu* insertMenu(TMemo& memo, QWidget* parent);
  void storeText(TMemo& memo);
  void openDialog();

  MessageTemplates& templates_;
  QWidget& window_;
  TemplatesDialog* dialog_ = nullptr;
};

}  // namespace movarek
