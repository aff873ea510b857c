#include "flat/qt/flat_button.h"

#include <QDialog>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTimer>
#include <memory>
#include <set>
#include <utility>

#include "flat_fixture.h"

namespace movarek::testing {
namespace {

using enum TButtonState;

const QPoint kInside(5, 5);
const QPoint kOutside(60, 5);

class FlatButtonTest : public FlatControlsTest {
 protected:
  TFlatButton* addButton(int x, int groupIndex = 0) {
    auto* button = new TFlatButton(&window);
    button->setGeometry(x, 10, 40, 30);
    button->setGroupIndex(groupIndex);
    button->show();
    return button;
  }
};

TEST_F(FlatButtonTest, PressedButtonFollowsTheMouseAndClicksOnlyWhenReleasedInside) {
  TFlatButton* button = addButton(10);
  QSignalSpy clicks(button, &TFlatButton::OnClick);
  const QPoint middle(20, 15);

  QTest::mousePress(button, Qt::LeftButton, {}, kInside);
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(button->state(), bsDown);
  EXPECT_EQ(pixelAt(*button, middle), toQColor(button->colorDown()));
  QTest::mouseMove(button, kOutside);
  EXPECT_EQ(button->state(), bsUp);
  EXPECT_EQ(pixelAt(*button, middle), toQColor(button->colorFocused()));
  QTest::mouseMove(button, kInside);
  EXPECT_EQ(button->state(), bsDown);
  QTest::mouseMove(button, kOutside);
  QTest::mouseRelease(button, Qt::LeftButton, {}, kOutside);
  EXPECT_EQ(button->state(), bsUp);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(pixelAt(*button, middle), toQColor(button->color()));

  QTest::mouseClick(button, Qt::LeftButton, {}, kInside);
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(FlatButtonTest, ClickingTheDownButtonOfAGroup) {
  for (const bool allowAllUp : {false, true}) {
    TFlatButton* first = addButton(10, 1);
    TFlatButton* second = addButton(60, 1);
    first->setAllowAllUp(allowAllUp);
    QSignalSpy clicks(first, &TFlatButton::OnClick);

    QTest::mouseClick(first, Qt::LeftButton, {}, kInside);
    EXPECT_TRUE(first->down());
    EXPECT_EQ(first->state(), bsExclusive);
    QTest::mouseClick(first, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(first->down(), !allowAllUp) << allowAllUp;
    EXPECT_EQ(first->state(), allowAllUp ? bsUp : bsExclusive) << allowAllUp;
    EXPECT_FALSE(second->down());
    EXPECT_EQ(clicks.count(), 2);
    delete first;
    delete second;
  }
}

TEST_F(FlatButtonTest, GoingDownReleasesTheOtherMemberOfTheGroup) {
  TFlatButton* first = addButton(10, 1);
  TFlatButton* second = addButton(60, 1);
  TFlatButton* otherGroup = addButton(110, 2);
  QWidget otherParent;
  TFlatButton elsewhere(&otherParent);
  elsewhere.setGroupIndex(1);
  first->setDown(true);
  otherGroup->setDown(true);
  elsewhere.setDown(true);

  second->setDown(true);
  EXPECT_FALSE(first->down());
  EXPECT_EQ(first->state(), bsUp);
  EXPECT_TRUE(second->down());
  EXPECT_EQ(second->state(), bsExclusive);
  EXPECT_TRUE(otherGroup->down());
  EXPECT_TRUE(elsewhere.down());

  // The group shares one AllowAllUp.
  first->setAllowAllUp(true);
  EXPECT_TRUE(second->allowAllUp());
  EXPECT_FALSE(otherGroup->allowAllUp());
  second->setDown(false);
  EXPECT_FALSE(second->down());

  // Without a group a button cannot stay down.
  TFlatButton* plain = addButton(160);
  plain->setDown(true);
  EXPECT_FALSE(plain->down());
}

TEST_F(FlatButtonTest, GlyphSetsTheNumberOfImages) {
  struct Case {
    QSize size;
    int numGlyphs;
  } const cases[] = {{{96, 24}, 4}, {{120, 24}, 1}, {{100, 24}, 3}, {{48, 24}, 2}};
  for (const auto& c : cases) {
    TFlatButton button;
    button.setNumGlyphs(3);
    QImage glyph(c.size, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    button.setGlyph(glyph);
    EXPECT_EQ(button.numGlyphs(), c.numGlyphs) << c.size.width();
  }
}

TEST_F(FlatButtonTest, MarginBelowMinusOneIsIgnored) {
  TFlatButton button;
  EXPECT_EQ(button.margin(), -1);
  button.setMargin(3);
  button.setMargin(-2);
  EXPECT_EQ(button.margin(), 3);
  button.setMargin(-1);
  EXPECT_EQ(button.margin(), -1);
}

TEST_F(FlatButtonTest, SpaceKeyClicksOnceWhenReleased) {
  for (const int groupIndex : {0, 1}) {
    TFlatButton* button = addButton(10, groupIndex);
    button->setFocus();
    QSignalSpy clicks(button, &TFlatButton::OnClick);

    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(button->state(), groupIndex ? bsExclusive : bsDown);
    EXPECT_EQ(clicks.count(), 0);
    // A held key repeats as release and press pairs.
    for (int repeat = 0; repeat < 3; ++repeat) {
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                        true);
      QApplication::sendEvent(button, &release);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
      QApplication::sendEvent(button, &press);
    }
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1) << groupIndex;
    // A group's only down button stays down.
    EXPECT_EQ(button->down(), groupIndex != 0);
    EXPECT_EQ(button->state(), groupIndex ? bsExclusive : bsUp);
    delete button;
  }
}

TEST_F(FlatButtonTest, AcceleratorClicksAndPutsAGroupButtonDown) {
  TFlatButton* plain = addButton(10);
  plain->setCaption(QStringLiteral("&Jak posílat"));
  TFlatButton* grouped = addButton(60, 1);
  grouped->setCaption(QStringLiteral("&Kontakty"));
  QSignalSpy plainClicks(plain, &TFlatButton::OnClick);
  QSignalSpy groupedClicks(grouped, &TFlatButton::OnClick);

  QTest::keyClick(&window, Qt::Key_J, Qt::AltModifier);
  QTest::keyClick(&window, Qt::Key_K, Qt::AltModifier);
  EXPECT_EQ(plainClicks.count(), 1);
  EXPECT_EQ(groupedClicks.count(), 1);
  EXPECT_TRUE(grouped->down());

  plain->setCaption(QStringLiteral("&Zavřít"));
  QTest::keyClick(&window, Qt::Key_J, Qt::AltModifier);
  QTest::keyClick(&window, Qt::Key_Z, Qt::AltModifier);
  EXPECT_EQ(plainClicks.count(), 2);
}

TEST_F(FlatButtonTest, DoubleClickReportedOnlyWhileDown) {
  TFlatButton* button = addButton(10, 1);
  QSignalSpy doubleClicks(button, &TFlatButton::OnDblClick);
  const auto doubleClick = [button] {
    QTest::mouseDClick(button, Qt::LeftButton, {}, kInside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, kInside);
  };
  doubleClick();
  EXPECT_EQ(doubleClicks.count(), 0);
  button->setDown(true);
  doubleClick();
  EXPECT_EQ(doubleClicks.count(), 1);
}

TEST_F(FlatButtonTest, ClickGivesTheModalResultToTheDialog) {
  QDialog dialog;
  TFlatButton button(&dialog);
  dialog.setResult(7);
  button.click();
  EXPECT_EQ(dialog.result(), 0);  // a button without a result clears it

  button.setModalResult(QDialog::Accepted);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  button.click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FlatButtonTest, HoverLightsTheButtonWhileTheSharedTimerWatches) {
  TFlatButton* button = addButton(10);
  QTest::mouseMove(button, kInside);
  EXPECT_EQ(pixelAt(*button, QPoint(20, 15)), toQColor(button->colorFocused()));
  ASSERT_TRUE(TFlatButton::mouseTimer());
  EXPECT_TRUE(TFlatButton::mouseTimer()->isActive());

  QTest::mouseMove(&window, QPoint(200, 150));
  EXPECT_EQ(pixelAt(*button, QPoint(20, 15)), toQColor(button->color()));
  EXPECT_FALSE(TFlatButton::mouseTimer()->isActive());
}

TEST_F(FlatButtonTest, SharedTimerLivesExactlyAsLongAsAButton) {
  EXPECT_EQ(TFlatButton::mouseTimer(), nullptr);
  auto first = std::make_unique<TFlatButton>();
  QTimer* timer = TFlatButton::mouseTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_FALSE(timer->isActive());
  auto second = std::make_unique<TFlatButton>();
  EXPECT_EQ(TFlatButton::mouseTimer(), timer);
  first.reset();
  EXPECT_EQ(TFlatButton::mouseTimer(), timer);
  second.reset();
  EXPECT_EQ(TFlatButton::mouseTimer(), nullptr);
}

// A 6 x 6 glyph: a black 2 x 2 square at (2, 2) on green.
QImage squareGlyph() {
  QImage glyph(6, 6, QImage::Format_RGB32);
  glyph.fill(QColor(0, 128, 0));
  for (const auto& [x, y] : {std::pair{2, 2}, {3, 2}, {2, 3}, {3, 3}})
    glyph.setPixel(x, y, 0xFF000000);
  return glyph;
}

TEST_F(FlatButtonTest, DisabledGlyphIsEmbossed) {
  TFlatButton* button = addButton(10);
  button->resize(40, 40);
  button->setColor(rgbColor(10, 100, 200));
  button->setGlyph(squareGlyph());
  // Centred: the glyph stands at (17, 17).
  const QColor background(10, 100, 200);
  const QColor highlight(255, 255, 255);
  const QColor shadow(128, 128, 128);
  struct Case {
    QPoint cell;
    QColor enabled;
    QColor disabled;
  } const cases[] = {
      {{0, 0}, background, background}, {{2, 2}, Qt::black, shadow},
      {{3, 3}, Qt::black, shadow},      {{4, 3}, background, highlight},
      {{3, 4}, background, highlight},  {{4, 4}, background, highlight},
      {{5, 5}, background, background}, {{1, 1}, background, background},
  };
  const QImage enabled = button->grab().toImage();
  button->setEnabled(false);
  const QImage disabled = button->grab().toImage();
  for (const auto& c : cases) {
    const QPoint at = c.cell + QPoint(17, 17);
    EXPECT_EQ(enabled.pixelColor(at), c.enabled) << c.cell.x() << ',' << c.cell.y();
    EXPECT_EQ(disabled.pixelColor(at), c.disabled) << c.cell.x() << ',' << c.cell.y();
  }
}

std::set<std::pair<int, int>> pixelsOf(const QImage& image, const QColor& colour) {
  std::set<std::pair<int, int>> pixels;
  for (int y = 2; y < image.height() - 2; ++y) {
    for (int x = 2; x < image.width() - 2; ++x) {
      if (image.pixelColor(x, y) == colour) pixels.insert({x, y});
    }
  }
  return pixels;
}

TEST_F(FlatButtonTest, DisabledCaptionIsEmbossed) {
  TFlatButton* button = addButton(10);
  button->resize(80, 30);
  button->setColor(rgbColor(10, 100, 200));
  button->setCaption(QStringLiteral("Zavřít"));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  font.setStyleStrategy(QFont::NoAntialias);
  button->setFont(font);

  const auto text = pixelsOf(button->grab().toImage(), Qt::black);
  button->setEnabled(false);
  const QImage disabled = button->grab().toImage();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(pixelsOf(disabled, QColor(128, 128, 128)), text);
  std::set<std::pair<int, int>> highlight;
  for (const auto& [x, y] : text) {
    if (!text.count({x + 1, y + 1})) highlight.insert({x + 1, y + 1});
  }
  EXPECT_EQ(pixelsOf(disabled, Qt::white), highlight);
}

}  // namespace
}  // namespace movarek::testing
