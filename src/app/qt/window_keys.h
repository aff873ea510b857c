#pragma once
// Which keys are the main window's. Installed on the application, this filter sees every key
// before the widget that has the focus, and before the filters installed on any one object (the
// web engine's view's among them): Qt runs the application's filters first. So the hidden
// menu's shortcuts win over the fields' own keys (Ctrl+Z, Ctrl+A and the rest act as the menu
// says, or not at all); on the Eurotel page every key is the page's form's, except those that
// open the program's windows and Ctrl+Tab (or Ctrl+Shift+Tab), which leaves the page.
#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QKeyEvent;
class QWidget;

namespace movarek {

class WindowKeys : public QObject {
 public:
  // `windowKeys` act on the Eurotel page `page` too; `leavePage` moves the focus on (true) or
  // back.
  WindowKeys(QWidget& window, QWidget& page, QList<QAction*> windowKeys,
             std::function<void(bool forward)> leavePage);
  ~WindowKeys() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool leavesPage(const QKeyEvent& key) const;
  bool isWindowKey(const QKeySequence& pressed) const;

  QWidget& window_;
  QWidget& page_;
  QList<QAction*> windowKeys_;
  std::function<void(bool forward)> leavePage_;
};

}  // namespace movarek
