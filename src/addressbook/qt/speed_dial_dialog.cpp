#include "addressbook/qt/speed_dial_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "common/qt/accessibility.h"
#include "common/qt/placed_controls.h"
#include "common/qt/qt_text.h"

namespace movarek {
namespace {

constexpr QSize kClientSize(485, 225);

}  // namespace

TfrmRychleVolby::TfrmRychleVolby(SpeedDialStore& speedDials, QWidget* parent)
    : QDialog(parent), speedDials_(speedDials) {
  buildLayout();
  connectHandlers();
}

void TfrmRychleVolby::buildLayout() {
  setWindowTitle(QStringLiteral("Rychlé volby"));
  fixAndCentre(*this, kClientSize);

  GroupBox1 = new QGroupBox(QStringLiteral(" Rychlé volby "), this);
  GroupBox1->setGeometry(8, 4, 469, 184);
  QLabel* about = placedLabel(GroupBox1,
                              QStringLiteral("Zde si můžete nastavit 4 rychlé volbyu adres pro "
                                             "tlačítka 1, 2, 3 a 4, které jsou zobrazeny vedle "
                                             "textového pole pro zprávu."),
                              QRect(12, 22, 445, 32));
  about->setWordWrap(true);

  btnRV1 = new ChoiceButton(QStringLiteral("SMS E-mail"), QAccessible::RadioButton, GroupBox1);
  btnRV1->setGeometry(12, 60, 110, 23);
  btnRV2 = new ChoiceButton(QStringLiteral("Oskar"), QAccessible::RadioButton, GroupBox1);
  btnRV2->setGeometry(126, 60, 110, 23);
  auto* modes = new QButtonGroup(this);
  for (QPushButton* mode : {btnRV1, btnRV2}) {
    // Typing goes on in the edits and Enter presses OK after a mode switch by mouse; the
    // keyboard reaches the modes with Tab.
    mode->setFocusPolicy(Qt::TabFocus);
    mode->setAutoDefault(false);
    modes->addButton(mode);
  }
  btnRV1->setChecked(true);

  for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
    const int top = 92 + i * 22;
    auto* number = placedLabel(GroupBox1, QString::number(i + 1), QRect(12, top, 20, 21));
    number->setAlignment(Qt::AlignCenter);
    number->setFrameStyle(QFrame::Panel | QFrame::Raised);
    editRV[i] = new QLineEdit(GroupBox1);
    editRV[i]->setGeometry(34, top, 423, 21);
    nameByLabel(*number, *editRV[i], QStringLiteral("Rychlá volba %1").arg(i + 1));
  }

  btnOK = placedButton(this, QStringLiteral("OK"), QRect(316, 194, 75, 25));
  btnOK->setDefault(true);
  btnStorno = placedButton(this, QStringLiteral("Storno"), QRect(396, 194, 75, 25));
}

void TfrmRychleVolby::connectHandlers() {
  connect(btnRV1, &QPushButton::clicked, this, &TfrmRychleVolby::btnRV1Click);
  connect(btnRV2, &QPushButton::clicked, this, &TfrmRychleVolby::btnRV2Click);
  connect(btnOK, &QPushButton::clicked, this, &TfrmRychleVolby::btnOKClick);
  connect(btnStorno, &QPushButton::clicked, this, &TfrmRychleVolby::btnStornoClick);
}

void TfrmRychleVolby::storeEdits() {
  for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
    speedDials_.table().setEntry(mode_, i, toCp1250(editRV[i]->text()));
  }
}

void TfrmRychleVolby::fillEdits() {
  for (int i = 0; i < SpeedDialTable::kEntriesPerBlock; ++i) {
    editRV[i]->setText(fromCp1250(speedDials_.table().entry(mode_, i)));
  }
}

void TfrmRychleVolby::switchTo(SpeedDialBlock mode) {
  if (mode_ == mode) return;
  storeEdits();
  mode_ = mode;
  fillEdits();
}

void TfrmRychleVolby::FormActivate() { fillEdits(); }

void TfrmRychleVolby::btnRV1Click() { switchTo(SpeedDialBlock::Email); }

void TfrmRychleVolby::btnRV2Click() { switchTo(SpeedDialBlock::Oskar); }

void TfrmRychleVolby::btnOKClick() {
  storeEdits();
  speedDials_.SaveSpeedDials();
  emit speedDialsChanged();
  accept();
}

void TfrmRychleVolby::btnStornoClick() { reject(); }

}  // namespace movarek
