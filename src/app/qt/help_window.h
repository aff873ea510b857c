#pragma once
// The help window: the help document napoveda.rtf.
#include <QDialog>

class QFrame;
class QPushButton;
class QTextEdit;

namespace movarek {

class TFlatButton;

class TfrmNapoveda : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmNapoveda(QWidget* parent = nullptr);

  // Replaces the whole view with napoveda.rtf from the program folder, scrolled to the top.
  // Throws EFOpenError when the file cannot be read; the view then keeps what it showed.
  void loadHelpDocument();

  // Shows the window modally with the focus in the text, as every opening does.
  int showHelp();

  QTextEdit* editNapoveda;
  QFrame* Panel1;
  TFlatButton* FlatButton1;
  QPushButton* Button1;

 public slots:
  void FormActivate();
  void FlatButton1Click();
  void Button1Click();
};

}  // namespace movarek
