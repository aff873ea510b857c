#pragma once
// The speed-dial dialog: four stored addresses for each sending page.
#include <QDialog>
#include <array>

#include "addressbook/speed_dials.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace movarek {

class TfrmRychleVolby : public QDialog {
  Q_OBJECT

 public:
  // Edits `speedDials` within `parent`.
  TfrmRychleVolby(SpeedDialStore& speedDials, QWidget* parent);

  QGroupBox* GroupBox1;
  std::array<QLineEdit*, 4> editRV;  // editRV1..editRV4
  QPushButton* btnRV1;               // "SMS E-mail"
  QPushButton* btnRV2;               // "Oskar"
  QPushButton* btnOK;
  QPushButton* btnStorno;

 public slots:
  // Each opening: the edits show the block of the mode left down, as the table holds it.
  void FormActivate();
  void btnRV1Click();
  void btnRV2Click();
  void btnOKClick();
  void btnStornoClick();

 signals:
  // OK stored the speed dials: the buttons' hints show them anew.
  void speedDialsChanged();

 private:
  void buildLayout();
  void connectHandlers();

  // Switching the mode keeps what was typed for the block being left.
  void switchTo(SpeedDialBlock mode);
  void storeEdits();
  void fillEdits();

  SpeedDialStore& speedDials_;
  SpeedDialBlock mode_ = SpeedDialBlock::Email;
};

}  // namespace movarek
