#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/page.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace movarek {

class ContactGroups;
class ContactStore;

class TfrmKontakty : public QDialog {
  Q_OBJECT

 public:
  // Keeps `contacts`, listed as they are loaded, and their `groups` within `parent`.
  TfrmKontakty(ContactStore& contacts, ContactGroups& groups, QWidget* parent);

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
  void listGroups(std::int64_t selected = 0);
  std::int64_t selectedGroup() const;
  // A name typed for a group, once it is neither empty nor another group's; nothing when the
  // user cancelled.
  std::optional<std::string> askGroupName(const QString& caption, const QString& name,
                                          std::int64_t renamed);
  void saveMarkedAsGroup();
  void markGroup();
  void renameGroup();
  void deleteGroup();
  // Whether another contact of the book has `address` (code page 1250).
  bool inTheBook(const std::string& address) const;
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

  ContactStore& contacts_;
  ContactGroups& groups_;
  Page shownPage_ = Page::Sms;
};

}  // namespace movarek
