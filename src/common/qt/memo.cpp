#include "common/qt/memo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace movarek {
namespace {

// A character outside the Basic Multilingual Plane is two Qt characters: it is kept whole, and
// it counts as the one "?" byte it is sent as.
int charactersAt(const QString& text, qsizetype index) {
  return text.at(index).isHighSurrogate() && index + 1 < text.size() &&
                 text.at(index + 1).isLowSurrogate()
             ? 2
             : 1;
}

// The lengths the limit counts: every line break two, every other character one.
int limitLength(QChar first) { return first == QLatin1Char('\n') ? 2 : 1; }

// The text document stores line breaks as paragraph and line separators.
QString withLineFeeds(QString text) {
  return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'))
      .replace(QChar::LineSeparator, QLatin1Char('\n'));
}

// A key that types a character, as a text field takes it: Ctrl alone (or with Shift) makes a
// shortcut, while AltGr, which some desktops report as Ctrl+Alt, types "@", "#", "&"...
bool typesText(const QKeyEvent& event) {
  if (event.text().isEmpty()) return false;
  const auto modifiers = event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    return false;
  }
  const QChar first = event.text().at(0);
  return first.isPrint() || first.isSurrogate() || first.category() == QChar::Other_Format;
}

}  // namespace

int windowsLength(const QString& text) {
  int length = 0;
  for (qsizetype i = 0; i < text.size(); i += charactersAt(text, i)) {
    length += limitLength(text.at(i));
  }
  return length;
}

TMemo::TMemo(int maxLength, QWidget* parent) : QPlainTextEdit(parent), maxLength_(maxLength) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Tab moves on, as in every other field; a tab pasted in stays text.
  setTabChangesFocus(true);
}

// The raw text, not toPlainText(), which turns a no-break space into a plain one.
QString TMemo::text() const { return withLineFeeds(document()->toRawText()); }

QString TMemo::windowsText() const {
  return text().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

int TMemo::roomFor(const QString& text) const {
  const int selectedLength = windowsLength(withLineFeeds(textCursor().selectedText()));
  const int free = maxLength_ - (windowsLength(this->text()) - selectedLength);
  int used = 0;
  qsizetype fitting = 0;
  while (fitting < text.size()) {
    used += limitLength(text.at(fitting));
    if (used > free) break;
    fitting += charactersAt(text, fitting);
  }
  return static_cast<int>(fitting);
}

void TMemo::insertFitting(const QString& text) {
  QString normalized = withLineFeeds(text);
  normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  textCursor().insertText(normalized.left(roomFor(normalized)));
  ensureCursorVisible();
}

void TMemo::keyPressEvent(QKeyEvent* event) {
  const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (lineBreak || typesText(*event)) {
    insertFitting(lineBreak ? QStringLiteral("\n") : event->text());
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
