#pragma once
// A multi-line message field as the sends read it: its text is its lines joined by CR LF, and
// its length limit counts a line break as two characters, for typing and pasting alike.
#include <QPlainTextEdit>

namespace movarek {

class TMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TMemo(int maxLength, QWidget* parent = nullptr);

  // The text as typed, with LF between lines, no-break spaces included.
  QString text() const;
  // The text with CR LF between lines, as Qt characters.
  QString windowsText() const;
  int maxLength() const { return maxLength_; }
  // Puts `text` in at the cursor as typing it would: as much of it as the limit leaves room for.
  void insertFitting(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // How many characters of `text` fit beside the current text once the selection is replaced.
  int roomFor(const QString& text) const;

  int maxLength_;
};

// The length of a text as the limit counts it: every line break is two characters, and a
// character outside the Basic Multilingual Plane is one.
int windowsLength(const QString& text);

}  // namespace movarek
