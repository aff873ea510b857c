#include "addressbook/qt/contact_list.h"

#include <QApplication>

#include "common/search_fold.h"

namespace movarek {

void ContactList::keyboardSearch(const QString& typed) {
  const bool goesOn =
      sinceLastKey_.isValid() && sinceLastKey_.elapsed() < QApplication::keyboardInputInterval();
  sinceLastKey_.start();
  if (!goesOn) searched_.clear();
  searched_ += foldedForSearch(typed.toStdString());
  std::string name;
  for (int row = 0; row < count(); ++row) {
    foldForSearch(item(row)->text().toStdString(), name);
    if (name.starts_with(searched_)) {
      setCurrentRow(row);
      return;
    }
  }
}

}  // namespace movarek
