#pragma once
// The contacts of a vCard or CSV file added to the address book, their groups made, and the
// user told what came of it.
#include <QObject>

class QWidget;

namespace movarek {

class AddressBook;
class ContactGroupsPanel;

class ContactFileImport : public QObject {
  Q_OBJECT

 public:
  // Imports for `dialog` into `book`, whose groups `groups` keeps.
  ContactFileImport(QWidget& dialog, AddressBook& book, ContactGroupsPanel& groups);

  // Asks for a file and imports it.
  void chooseAndImport();
  // Adds the contacts of a .vcf or .csv file to the book and tells what came of it.
  void importFile(const QString& path);

 signals:
  // Contacts were added: the book is to be listed anew, before the user is told.
  void bookChanged();

 private:
  QWidget& dialog_;
  AddressBook& book_;
  ContactGroupsPanel& groups_;
};

}  // namespace movarek
