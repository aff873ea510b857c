#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void buildLayout();
  void connectHandlers();

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
