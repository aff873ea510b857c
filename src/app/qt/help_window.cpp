#include "app/qt/help_window.h"

#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/maker_details.h"
#include "app/qt/error_report.h"
#include "common/qt/accessibility.h"
#include "common/qt/modal.h"
#include "common/qt/placed_controls.h"
#include "flat/qt/flat_button.h"
#include "rtf/qt/rtf_text_document.h"
#include "rtf/rtf_file.h"

namespace movarek {
namespace {

constexpr char kHelpFile[] = "napoveda.rtf";

// The window's size with its frame; its client area is this less the frame.
constexpr QSize kOuterSize(516, 356);
constexpr int kPanelHeight = 58;
constexpr int kButtonFontPixels = 11;

// Shown until the first load of the help document.
QString designTimeHelpText() {
  return QStringLiteral(
             "SMS Movarek – posílání SMS zdarma\n"
             "\n"
             "Program je zdarma a bez záruky. Výrobce neodpovídá za doručení zpráv ani za "
             "škody vzniklé jeho používáním.\n"
             "\n"
             "Výrobce: %1\n"
             "Internet: %2, e-mail: %3, telefon: %4\n"
             "\n"
             "E-mailovou adresu mobilního telefonu vám sdělí zákaznická linka vašeho operátora, "
             "najdete ji také na jeho webových stránkách.\n"
             "\n"
             "Úplnou nápovědu zobrazíte tlačítkem „Nápověda“ v hlavním okně.")
      .arg(QString::fromUtf8(kMakerAddress), QString::fromUtf8(kMakerWebAddress),
           QString::fromUtf8(kMakerEmail), QString::fromUtf8(kMakerTelephone));
}

QPushButton* panelButton(QWidget* panel, const QString& caption, const QRect& geometry) {
  QPushButton* button = placedButton(panel, caption, geometry);
  // Enter in the text neither reloads nor closes.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmNapoveda::TfrmNapoveda(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Nápověda"));
  resize(kOuterSize - kFrameSize);
  centreOnScreen(*this, kOuterSize - kFrameSize);

  editNapoveda = new QTextEdit(this);
  editNapoveda->setReadOnly(true);
  // Read-only, yet the keys still move through the text and select it.
  editNapoveda->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  editNapoveda->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editNapoveda->setUndoRedoEnabled(false);
  editNapoveda->setPlainText(designTimeHelpText());
  editNapoveda->setAccessibleName(QStringLiteral("Nápověda"));

  Panel1 = new QFrame(this);
  Panel1->setFrameShape(QFrame::NoFrame);
  Panel1->setFixedHeight(kPanelHeight);
  // The small dialog font the buttons' sizes were drawn for.
  QFont buttonFont = Panel1->font();
  buttonFont.setPixelSize(kButtonFontPixels);
  Panel1->setFont(buttonFont);
  FlatButton1 = new TFlatButton(Panel1);
  FlatButton1->setCaption(QStringLiteral("Jak posílat SMS zdarma?"));
  FlatButton1->setGeometry(4, 4, 137, 23);
  FlatButton1->setTabStop(true);
  setAccessibleRole(*FlatButton1, QAccessible::Button);
  Button1 = panelButton(Panel1, QStringLiteral("Zavřít"), QRect(408, 4, 97, 25));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(editNapoveda);
  layout->addWidget(Panel1);

  connect(FlatButton1, &TFlatButton::OnClick, this, &TfrmNapoveda::FlatButton1Click);
  connect(Button1, &QPushButton::clicked, this, &TfrmNapoveda::Button1Click);
}

void TfrmNapoveda::loadHelpDocument() {
  const RtfDocument document = loadRtfFile(kHelpFile);
  fillTextDocument(*editNapoveda->document(), document);
  editNapoveda->moveCursor(QTextCursor::Start);
  editNapoveda->verticalScrollBar()->setValue(0);
}

int TfrmNapoveda::showHelp() {
  FormActivate();
  return showModal(*this);
}

void TfrmNapoveda::FormActivate() { editNapoveda->setFocus(); }

void TfrmNapoveda::FlatButton1Click() {
  try {
    loadHelpDocument();
  } catch (const std::exception& error) {
    reportError(error);
  }
}

void TfrmNapoveda::Button1Click() { close(); }

}  // namespace movarek
