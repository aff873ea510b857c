// Every text of every window readable against what is behind it, on the desktop's theme:
// ctest runs this on the default light look and again under a dark theme (Adwaita dark through
// Qt's GTK platform theme). Each window is grabbed as the screen shows it, once as it is and
// once with one text taken out; the pixels that differ are the text's, and the strongest of
// them must stand out from what lies under it by 4.5 to 1. The grabs are kept in
// theme-artifacts/ of the build folder.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <functional>

#include "addressbook/qt/contacts_dialog.h"
#include "addressbook/qt/speed_dial_dialog.h"
#include "app/qt/help_window.h"
#include "app/qt/maker_window.h"
#include "common/qt/designed_look.h"
#include "common/qt/memo.h"
#include "flat/qt/flat_button.h"
#include "forms_fixture.h"
#include "gateway_sim.h"

namespace movarek::testing {
namespace {

constexpr double kLeastContrast = 4.5;

double luminance(QRgb colour) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
         0.0722 * channel(qBlue(colour));
}

double contrast(QRgb a, QRgb b) {
  const double lighter = std::max(luminance(a), luminance(b));
  const double darker = std::min(luminance(a), luminance(b));
  return (lighter + 0.05) / (darker + 0.05);
}

// How a widget's text is taken out and put back.
struct Text {
  std::function<QString()> get;
  std::function<void(const QString&)> set;
};

std::optional<Text> textOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
    return Text{[label] { return label->text(); },
                [label](const QString& t) { label->setText(t); }};
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    return Text{[button] { return button->text(); },
                [button](const QString& t) { button->setText(t); }};
  }
  if (auto* flat = qobject_cast<TFlatButton*>(widget)) {
    return Text{[flat] { return flat->caption(); },
                [flat](const QString& t) { flat->setCaption(t); }};
  }
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    return Text{[edit] { return edit->text(); }, [edit](const QString& t) { edit->setText(t); }};
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
    return Text{[memo] { return memo->toPlainText(); },
                [memo](const QString& t) { memo->setPlainText(t); }};
  }
  if (auto* document = qobject_cast<QTextEdit*>(widget)) {
    return Text{[document] { return document->toHtml(); },
                [document](const QString& t) { document->setHtml(t); }};
  }
  return std::nullopt;
}

class ThemeContrastTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    // As the program's entry does.
    keepDesignedLook();
    shots_ = QDir::current().filePath(QStringLiteral("theme-artifacts/") +
                                      qEnvironmentVariable("GTK_THEME", QStringLiteral("light")));
    QDir().mkpath(shots_);
  }

  // The strongest contrast of the widget's text against what is behind it, on the screen.
  double textContrast(QWidget& window, QWidget* widget, const Text& text) {
    const QRect area(widget->mapTo(&window, QPoint()), widget->size());
    const QImage with = window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    const QString kept = text.get();
    text.set({});
    const QImage without = window.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    text.set(kept);
    double strongest = 0;
    for (int y = 0; y < with.height(); ++y) {
      for (int x = 0; x < with.width(); ++x) {
        if (with.pixel(x, y) != without.pixel(x, y)) {
          strongest = std::max(strongest, contrast(with.pixel(x, y), without.pixel(x, y)));
        }
      }
    }
    return strongest;
  }

  // Every shown text of the window: what stands out too little, by the widget's path.
  QStringList faintTexts(QWidget& window, const QString& shot) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.grab().save(shots_ + "/" + shot + ".png");
    QStringList faint;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      const auto text = textOf(widget);
      if (!widget->isVisible() || !text || text->get().isEmpty() || widget->width() == 0) continue;
      const double measured = textContrast(window, widget, *text);
      if (measured < least(widget)) {
        faint << QStringLiteral("%1 \"%2\": %3 to 1")
                     .arg(QString::fromLatin1(widget->metaObject()->className()),
                          text->get().left(40))
                     .arg(measured, 0, 'f', 2);
      }
    }
    window.hide();
    return faint;
  }

  // Two texts keep the colours given them, which stand out less than 4.5 to 1 on any light
  // background: the red waiting notice and the maker's green tagline. They are held to what
  // those colours give on the classic light grey, so that no theme makes them fainter still.
  double least(const QWidget* widget) const {
    if (forms && (widget == main().panelWebEurotel || widget == forms->kontakt().Label2)) {
      return widget == main().panelWebEurotel ? 3.4 : 4.4;
    }
    return kLeastContrast;
  }

  TfrmMain& main() const { return forms->main(); }

  QString shots_;
};

TEST_F(ThemeContrastTest, EveryTextOfEveryWindowStandsOut) {
  startProgram();
  fillEmailSend();
  main().editAdresaOskar->setText(QStringLiteral("123456"));
  main().memoTextOskar->setPlainText(QStringLiteral("Ahoj"));
  main().editSenderPredOskar->setText(QStringLiteral("777"));
  main().editSenderOskar->setText(QStringLiteral("111222"));
  for (auto [page, shot] : {std::pair{&TfrmMain::btnSMStopClick, "main-sms"},
                            {&TfrmMain::btnOskarClick, "main-oskar"},
                            {&TfrmMain::btnEurotelClick, "main-eurotel"}}) {
    (main().*page)();
    EXPECT_EQ(faintTexts(main(), QString::fromLatin1(shot)), QStringList{}) << shot;
  }
  forms->kontakty().editJmeno->setText(QStringLiteral("Anna"));
  QFile::copy(QStringLiteral(HELP_DOCUMENT_PATH), QString::fromStdString(filePath("napoveda.rtf")));
  forms->napoveda().loadHelpDocument();
  const std::pair<QWidget*, const char*> windows[] = {
      {&forms->kontakty(), "contacts"},
      {&forms->rychleVolby(), "speed-dials"},
      {&forms->napoveda(), "help"},
      {&forms->kontakt(), "maker"},
  };
  for (const auto& [window, shot] : windows) {
    EXPECT_EQ(faintTexts(*window, QString::fromLatin1(shot)), QStringList{}) << shot;
  }
}

}  // namespace
}  // namespace movarek::testing
