#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace movarek {

class ContactStore;
class TfrmMain;

class TfrmKontakty : public QDialog {
  Q_OBJECT

 public:
  // Lists the contacts that `main` has loaded.
  explicit TfrmKontakty(TfrmMain& main);

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // A drag of .vcf or .csv files over one of the dialog's fields is the dialog's.
  bool takesFileDrop(QEvent& event);

 private:
  void FormCreate();
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

  TfrmMain& main_;
  ContactStore& contacts_;
};

}  // namespace movarek
