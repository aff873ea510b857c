#pragma once
// The maker-contact window: the maker's logo and contact details.
#include <QDialog>

class QLabel;
class QPushButton;

namespace movarek {

class TfrmKontakt : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmKontakt(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* Label1;  // name
  QLabel* Label2;  // tagline
  QLabel* Label3;  // web address
  QLabel* Label4;  // e-mail
  QLabel* Label5;  // telephone
  QLabel* Label6;  // postal address
  QPushButton* Button1;

 public slots:
  void Button1Click();
};

}  // namespace movarek
