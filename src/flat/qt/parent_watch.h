#pragma once
// Tells a flat control when its parent's colours or font change. A style sheet stops such
// changes from reaching the children, so the parent itself is watched.
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace movarek {

class ParentWatch : public QObject {
 public:
  // Lives as long as the control. onColorChange also runs when the control gets another
  // parent; onFontChange may be empty.
  ParentWatch(QWidget& control, std::function<void()> onColorChange,
              std::function<void()> onFontChange = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void watchParent();

  QWidget& m_control;
  QPointer<QWidget> m_parent;
  std::function<void()> m_onColorChange;
  std::function<void()> m_onFontChange;
};

}  // namespace movarek
