#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/contact_groups.h"
#include "common/page.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace movarek {

class AddressBook;
class ContactStore;
class ProgramDatabase;
struct ImportCount;

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
  // The groups: choosing one marks its members.
  QListWidget* listSkupiny;
  QPushButton* btnUlozitSkupinu;
  QPushButton* btnPrejmenovatSkupinu;
  QPushButton* btnSmazatSkupinu;
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
  void Importovatkontakty1Click();
  void Exportovatkontakty1Click();
  // Adds the contacts of a .vcf or .csv file to the book and tells what came of it.
  void importContacts(const QString& path);

 signals:
  // OK on the "SMS E-mail" page: the text for its address field (code page 1250).
  void addressesChosen(const std::string& addresses);
  // OK on the "Oskar" page: the telephone of the contact shown (code page 1250).
  void oskarNumberChosen(const std::string& telephone);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // A drag of .vcf or .csv files over one of the dialog's fields is the dialog's.
  bool takesFileDrop(QEvent& event);

 private:
  void FormCreate();
  void buildGroups();
  void connectGroups();
  // Lists the groups as stored, `selected` (a name) selected.
  void listGroups(const QString& selected = {});
  std::int64_t selectedGroup() const;
  // A name typed for a group, once it is neither empty nor another group's; nothing when the
  // user cancelled.
  std::optional<std::string> askGroupName(const QString& caption, const QString& name,
                                          std::int64_t renamed);
  void saveMarkedAsGroup();
  // Marks the selected group's members, then runs `then`.
  void markGroup(const std::function<void()>& then = {});
  void renameGroup();
  void deleteGroup();
  // Writes a group named `name` (added, or renamed) and lists the groups with it selected.
  void writeGroup(std::function<ContactGroups::Naming(ContactGroups&)> write,
                  const std::string& name, const QString& failure);
  // The groups follow a change of the book; `then` gets how many new groups were left unmade.
  void groupsFollow(const std::optional<GroupChanges>& changes,
                    const std::function<void(int unmade)>& then = {});
  void reportImport(const ImportCount& count, int unmadeGroups);
  // The groups' controls, usable only while the database is on.
  void enableGroups();
  void buildLayout();
  void connectHandlers();
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
  std::vector<std::string> markedAddresses() const;

  AddressBook& book_;
  ContactStore& contacts_;
  ProgramDatabase& database_;
  std::vector<ContactGroup> groups_;  // as last listed
  Page shownPage_ = Page::Sms;
};

}  // namespace movarek
