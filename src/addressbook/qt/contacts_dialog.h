#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>
#include <string>
#include <vector>

#include "common/page.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace movarek {

class AddressBook;
class ContactFileImport;
class ContactGroupsPanel;
class ContactStore;
struct ContactRecord;
class ProgramDatabase;

class TfrmKontakty : public QDialog {
  Q_OBJECT

 public:
  // Keeps the address `book`, listed as it is loaded, and its groups in `database`, within
  // `parent`. The groups are read and written on the database's thread.
  TfrmKontakty(AddressBook& book, ProgramDatabase& database, QWidget* parent);

  // The page the dialog chooses addressees for: OK hands them to it.
  void setShownPage(Page page) { shownPage_ = page; }

  QListWidget* listboxJmena;
  QLineEdit* editJmeno;
  QLineEdit* editAdresa;
  QLineEdit* editTelefon;
  QPushButton* btnOK2;
  QPushButton* btnNovy;
  QPushButton* btnUlozit;
  QPushButton* btnSmazat;
  QPushButton* btnOK;
  QPushButton* btnStorno;
  QPushButton* btnOznacitVse;
  QPushButton* btnOdznacitVse;
  // The groups below: choosing one marks its members.
  ContactGroupsPanel* panelSkupiny;
  // The list's context menu.
  QMenu* menuKontakty;
  QAction* Importovatkontakty1;
  QAction* Exportovatkontakty1;

 public slots:
  // Each opening: the first contact shown, the list focused; earlier check marks stay.
  void FormActivate();
  void listboxJmenaClick();
  void listboxJmenaKeyDown();
  void listboxJmenaDblClick();
  void btnNovyClick();
  void btnUlozitClick();
  void btnSmazatClick();
  void btnOznacitVseClick();
  void btnOdznacitVseClick();
  void btnOKClick();
  void btnStornoClick();
  // Adds the contacts of a .vcf or .csv file to the book and tells what came of it.
  void importContacts(const QString& path);

 signals:
  // OK on the "SMS E-mail" page: the text for its address field (code page 1250).
  void addressesChosen(const std::string& addresses);
  // OK on the "Oskar" page: the telephone of the contact shown (code page 1250).
  void oskarNumberChosen(const std::string& telephone);
  // OK on the "Modem" page: the marked contacts' telephones, each followed by "; " (code page
  // 1250).
  void modemNumbersChosen(const std::string& telephones);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void buildLayout();
  void connectHandlers();
  // The groups, and the import, the export and the drop of contact files, wired to the list.
  void buildParts(ProgramDatabase& database);
  void buildContextMenu();
  void showContextMenu(const QPoint& inList);

  // Lists the book anew: every check mark and the selection go.
  void rebuildList();
  // Shows the selected contact in the three fields and makes it current.
  void ShowContact();
  // Selects an entry from the program's side, focuses the list and shows the entry.
  void selectEntry(int row);
  void setAllChecks(Qt::CheckState state);
  bool hasSelection() const;
  // The addresses of the checked entries, in list order.
  // The field `field` of each marked contact, in list order.
  using ContactField = std::string (ContactRecord::*)() const;
  std::vector<std::string> markedFields(ContactField field) const;
  std::vector<std::string> markedAddresses() const;

  AddressBook& book_;
  ContactStore& contacts_;
  ContactFileImport* import_;
  Page shownPage_ = Page::Sms;
};

}  // namespace movarek
