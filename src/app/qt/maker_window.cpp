#include "app/qt/maker_window.h"

#include <QLabel>
#include <QPushButton>

#include "app/maker_details.h"
#include "common/qt/carried_picture.h"
#include "common/qt/designed_look.h"
#include "common/qt/placed_controls.h"

namespace movarek {
namespace {

constexpr QSize kClientSize(479, 201);

QFont boldFont(QFont font, int pixels = 0) {
  if (pixels > 0) font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

// Sized again in its own font: the label is as large as its text in it.
QLabel* label(QWidget* parent, const QString& text, const QPoint& at, const QFont& font,
              const QColor& colour = {}) {
  QLabel* created = labelAt(parent, text, at);
  created->setFont(font);
  if (colour.isValid()) colourText(*created, QPalette::WindowText, colour);
  created->adjustSize();
  return created;
}

// On a screen of more pixels than the logo was drawn for, it is drawn smoothly at the
// screen's own pixels rather than blown up pixel by pixel.
QPixmap smoothlyScaled(const QPixmap& picture, qreal ratio) {
  if (ratio == 1.0) return picture;
  QPixmap scaled =
      picture.scaled(picture.size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

}  // namespace

TfrmKontakt::TfrmKontakt(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kontakt na výrobce"));
  fixAndCentre(*this, kClientSize);

  Image1 = new QLabel(this);
  Image1->setPixmap(smoothlyScaled(carriedPicture(QStringLiteral(":/movarek/logo_vertanix.png")),
                                   devicePixelRatioF()));
  Image1->move(8, 8);
  Image1->adjustSize();
  Image1->setAccessibleName(QStringLiteral("Logo ") + QString::fromUtf8(kMakerName));

  Label1 = label(this, QString::fromUtf8(kMakerName), QPoint(184, 8),
                 boldFont(QFont(QStringLiteral("Times New Roman")), 37), Qt::blue);
  // The green of the web's colour names, as the maker's colours were always given.
  Label2 = label(this, QString::fromUtf8(kMakerTagline), QPoint(208, 48), boldFont(font(), 16),
                 QColor(0, 128, 0));
  // The name's box ends where the tagline's begins: its letters have no descenders, so
  // nothing of them is lost, and the two boxes do not overlap at any scale.
  Label1->resize(Label1->width(), Label2->y() - Label1->y());
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  const QFont detailFont = arialFont(13, true);
  const std::pair<QLabel**, QString> details[] = {
      {&Label3, QStringLiteral("Internet: ") + QString::fromUtf8(kMakerWebAddress)},
      {&Label4, QStringLiteral("E-Mail: ") + QString::fromUtf8(kMakerEmail)},
      {&Label5, QStringLiteral("Telefon: ") + QString::fromUtf8(kMakerTelephone)},
      {&Label6, QStringLiteral("Adresa: ") + QString::fromUtf8(kMakerAddress)},
  };
  int top = 88;
  for (const auto& [slot, text] : details) {
    *slot = label(this, text, QPoint(8, top), detailFont);
    top += 18;
  }

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(376, 168, 97, 25);
  Button1->setFont(boldFont(Button1->font()));
  // Both the default and the cancel button: Enter presses it, and Esc closes as it does.
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TfrmKontakt::Button1Click);
}

void TfrmKontakt::Button1Click() { close(); }

}  // namespace movarek
