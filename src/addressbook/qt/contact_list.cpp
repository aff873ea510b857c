#include "addressbook/qt/contact_list.h"

#include <QApplication>

namespace movarek {

QString searchKey(const QString& text) {
  QString key;
  for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
    if (c.category() != QChar::Mark_NonSpacing) key += c.toCaseFolded();
  }
  return key;
}

void ContactList::keyboardSearch(const QString& typed) {
  const bool goesOn =
      sinceLastKey_.isValid() && sinceLastKey_.elapsed() < QApplication::keyboardInputInterval();
  sinceLastKey_.start();
  searched_ = (goesOn ? searched_ : QString()) + searchKey(typed);
  for (int row = 0; row < count(); ++row) {
    if (searchKey(item(row)->text()).startsWith(searched_)) {
      setCurrentRow(row);
      return;
    }
  }
}

}  // namespace movarek
