#pragma once
// What a screen reader is told of a control whose kind Qt cannot know from its class: the
// program's page buttons are page tabs, the speed-dial modes radio buttons, the counter strip a
// status line, the flat button a push button.
#include <QAccessible>
#include <QLabel>
#include <QPushButton>

namespace movarek {

// From now on the widget is `role`; its name is its accessible name or else its caption (the
// "text" or "caption" property); a checkable one tells whether it is checked (a page tab:
// selected), one with a click() can be pressed. Qt's own kinds of controls keep Qt's own
// description: the role is for a widget of a class of the program's own.
void setAccessibleRole(QWidget& widget, QAccessible::Role role);

// A latched button, one of a group of which one is down, that a screen reader knows as a page
// tab or a radio button.
class ChoiceButton : public QPushButton {
  Q_OBJECT

 public:
  ChoiceButton(const QString& caption, QAccessible::Role role, QWidget* parent);
};

// A line of text that tells how things stand; a screen reader announces each change.
class StatusLine : public QLabel {
  Q_OBJECT

 public:
  StatusLine(const QString& text, QWidget* parent);
};

// The field is named as the label beside it says, and the label points to it.
void nameByLabel(QLabel& label, QWidget& field, const QString& name);

}  // namespace movarek
