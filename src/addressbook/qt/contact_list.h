#pragma once
// The contacts dialog's list: a check-list of names that finds a name by typing its first
// letters, case and diacritics ignored ("reh" finds "Řehoř"), the letters adding up while
// they come quickly.
#include <QElapsedTimer>
#include <QListWidget>

namespace movarek {

class ContactList : public QListWidget {
  Q_OBJECT

 public:
  using QListWidget::QListWidget;

  void keyboardSearch(const QString& typed) override;

 private:
  QString searched_;
  QElapsedTimer sinceLastKey_;
};

// A text as the search compares it: small letters without diacritics.
QString searchKey(const QString& text);

}  // namespace movarek
