#include "common/qt/accessibility.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>
#include <utility>

namespace movarek {
namespace {

constexpr char kRoleProperty[] = "movarekAccessibleRole";

QString caption(const QWidget& widget) {
  for (const char* property : {"text", "caption"}) {
    const QVariant value = widget.property(property);
    if (value.isValid()) return value.toString().remove(QLatin1Char('&'));
  }
  return {};
}

class RoleAccessible : public QAccessibleWidget {
 public:
  RoleAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
      return caption(*widget());
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    const QVariant checkable = widget()->property("checkable");
    if (checkable.toBool()) {
      const bool checked = widget()->property("checked").toBool();
      state.checkable = true;
      state.checked = checked;
      if (role() == QAccessible::PageTab) {
        state.selectable = true;
        state.selected = checked;
      }
    }
    return state;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (clickable()) names.prepend(pressAction());
    return names;
  }

  void doAction(const QString& name) override {
    if (name == pressAction() && clickable()) {
      QMetaObject::invokeMethod(widget(), "click");
      return;
    }
    QAccessibleWidget::doAction(name);
  }

 private:
  bool clickable() const {
    return widget()->metaObject()->indexOfMethod("click()") >= 0 && widget()->isEnabled();
  }
};

QAccessibleInterface* interfaceOfRole(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  const QVariant role = widget->property(kRoleProperty);
  if (!role.isValid()) return nullptr;
  return new RoleAccessible(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void setAccessibleRole(QWidget& widget, QAccessible::Role role) {
  static bool factoryInstalled = false;
  if (!std::exchange(factoryInstalled, true)) QAccessible::installFactory(interfaceOfRole);
  widget.setProperty(kRoleProperty, static_cast<int>(role));
}

ChoiceButton::ChoiceButton(const QString& caption, QAccessible::Role role, QWidget* parent)
    : QPushButton(caption, parent) {
  setCheckable(true);
  setAccessibleRole(*this, role);
}

StatusLine::StatusLine(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setAccessibleRole(*this, QAccessible::StatusBar);
}

void nameByLabel(QLabel& label, QWidget& field, const QString& name) {
  label.setBuddy(&field);
  field.setAccessibleName(name);
}

}  // namespace movarek
