#pragma once
// The contacts dialog's list: a check-list of names that finds a name by typing its first
// letters, case and diacritics ignored ("reh" finds "Řehoř"), the letters adding up while
// they come quickly.
#include <QElapsedTimer>
#include <QListWidget>
#include <string>

namespace movarek {

class ContactList : public QListWidget {
  Q_OBJECT

 public:
  using QListWidget::QListWidget;

  void keyboardSearch(const QString& typed) override;

 private:
  std::string searched_;  // folded as the search of the sent messages folds
  QElapsedTimer sinceLastKey_;
};

}  // namespace movarek
