#pragma once
// The address book written to a vCard or CSV file of the user's choice, each contact with its
// groups.
#include <QObject>

class QWidget;

namespace movarek {

class ContactStore;
class ProgramDatabase;

class ContactFileExport : public QObject {
  Q_OBJECT

 public:
  // Exports for `dialog` the book of `contacts`, whose groups `database` keeps.
  ContactFileExport(QWidget& dialog, const ContactStore& contacts, ProgramDatabase& database);

  // Asks for a file and writes the book to it, once the groups are read.
  void chooseAndExport();

 private:
  QWidget& dialog_;
  const ContactStore& contacts_;
  ProgramDatabase& database_;
};

}  // namespace movarek
