#include "app/memo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace movarek {

int windowsLength(const QString& text) {
  return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
}

TMemo::TMemo(int maxLength, QWidget* parent) : QPlainTextEdit(parent), maxLength_(maxLength) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString TMemo::windowsText() const {
  return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

int TMemo::roomFor(const QString& text) const {
  const QString selected = textCursor().selectedText();
  // A selection spanning lines reports its breaks as paragraph separators.
  const int selectedLength =
      static_cast<int>(selected.size() + selected.count(QChar::ParagraphSeparator));
  const int free = maxLength_ - (windowsLength(toPlainText()) - selectedLength);
  int fitting = 0;
  int used = 0;
  for (const QChar c : text) {
    used += c == QLatin1Char('\n') ? 2 : 1;
    if (used > free) break;
    ++fitting;
  }
  return fitting;
}

void TMemo::insertFitting(const QString& text) {
  QString normalized = text;
  normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  textCursor().insertText(normalized.left(roomFor(normalized)));
  ensureCursorVisible();
}

void TMemo::keyPressEvent(QKeyEvent* event) {
  const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
  const bool inserts = lineBreak || (!typed.isEmpty() && typed.at(0).isPrint());
  if (inserts && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    insertFitting(typed);
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TMemo::insertFromMimeData(const QMimeData* source) {
  if (source->hasText()) insertFitting(source->text());
}

void TMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) {
    insertFitting(event->commitString());
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&rest);
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

}  // namespace movarek
