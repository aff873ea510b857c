#include "flat/qt/flat_edit.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>

#include "flat_fixture.h"

namespace movarek::testing {
namespace {

const QColor kPanelColour(200, 210, 220);
const TColor kPanelColor = rgbColor(200, 210, 220);

class FlatEditTest : public FlatControlsTest {
 protected:
  void SetUp() override {
    FlatControlsTest::SetUp();
    // The program's pages carry style sheets, which take over the drawing of their children.
    window.setStyleSheet(QStringLiteral("QPushButton { color: black; }"));
    panel = new QWidget(&window);
    panel->setGeometry(0, 0, 300, 200);
    setPanelColour(kPanelColour);
    panel->show();
    edit = new TFlatEdit(panel);
    edit->move(10, 10);
    other = new TFlatEdit(panel);
    other->move(10, 40);
    button = new QPushButton(panel);
    button->move(10, 70);
    edit->show();
    other->show();
    button->show();
  }

  void setPanelColour(const QColor& colour) {
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colour);
    panel->setPalette(colours);
  }

  static void enter(QWidget* widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &event);
  }

  QWidget* panel;
  TFlatEdit* edit;
  TFlatEdit* other;
  QPushButton* button;
};

TEST_F(FlatEditTest, FrameShowsThePlainOrTheFocusedLook) {
  enum Focus { nowhere, self, otherFlatEdit, plainButton };
  struct Case {
    const char* name;
    Focus focus;
    bool mouseIn;
    bool focusedLook;
  } const cases[] = {
      {"idle", nowhere, false, false},
      {"focused", self, false, true},
      {"focused and under the mouse", self, true, true},
      {"under the mouse", nowhere, true, true},
      {"under the mouse, a plain button focused", plainButton, true, true},
      {"under the mouse, another flat edit focused", otherFlatEdit, true, false},
      {"another flat edit focused", otherFlatEdit, false, false},
  };
  for (const auto& c : cases) {
    QWidget* const focusTargets[] = {nullptr, edit, other, button};
    if (QWidget* target = focusTargets[c.focus]) {
      target->setFocus();
    } else if (QWidget* focused = QApplication::focusWidget()) {
      focused->clearFocus();
    }
    if (c.mouseIn) enter(edit);

    const QColor fill = c.focusedLook ? QColor(Qt::white) : kPanelColour;
    const QImage image = edit->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(160, 150, 131)) << c.name;
    EXPECT_EQ(image.pixelColor(edit->width() - 1, edit->height() - 1), QColor(160, 150, 131))
        << c.name;
    EXPECT_EQ(image.pixelColor(1, 1), fill) << c.name;
    EXPECT_EQ(image.pixelColor(2, 2), fill) << c.name;
    EXPECT_EQ(image.pixelColor(edit->width() - 3, edit->height() - 3), fill) << c.name;
    EXPECT_EQ(image.pixelColor(edit->width() - 8, edit->height() / 2), fill) << c.name;

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(edit, &leave);
  }
}

TEST_F(FlatEditTest, HeightFollowsTheFont) {
  struct Case {
    QWidget* fontOwner;
    int pixelSize;
    int height;
  } const cases[] = {{edit, 13, 19}, {edit, 20, 26}, {panel, 16, 22}};
  for (const auto& c : cases) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(c.pixelSize);
    if (c.fontOwner != edit) edit->setFont(QFont());  // back to the parent's font
    c.fontOwner->setFont(font);
    EXPECT_EQ(edit->height(), c.height) << c.pixelSize;
  }
  EXPECT_EQ(edit->width(), 121);
}

TEST_F(FlatEditTest, FlatColourFollowsTheParentUntilSet) {
  EXPECT_TRUE(edit->parentColor());
  EXPECT_EQ(edit->colorFlat(), kPanelColor);
  setPanelColour(QColor(10, 20, 30));
  EXPECT_EQ(edit->colorFlat(), rgbColor(10, 20, 30));

  edit->setColorFlat(rgbColor(1, 2, 3));
  EXPECT_FALSE(edit->parentColor());
  setPanelColour(kPanelColour);
  EXPECT_EQ(edit->colorFlat(), rgbColor(1, 2, 3));
  EXPECT_EQ(pixelAt(*edit, QPoint(1, 1)), QColor(1, 2, 3));

  edit->setParentColor(true);
  EXPECT_EQ(edit->colorFlat(), kPanelColor);
}

TEST_F(FlatEditTest, AdvancedColoursAreShadesOfTheFlatColour) {
  const auto lighter = [](TColor base, int amount) {
    return CalcAdvancedColor(base, 0, amount, TColorCalcType::lighten);
  };
  const auto darker = [](TColor base, int amount) {
    return CalcAdvancedColor(base, 0, amount, TColorCalcType::darken);
  };
  edit->setColorFlat(rgbColor(1, 2, 3));
  edit->setAdvColorBorder(30);  // without advanced colours the amounts change nothing
  EXPECT_EQ(edit->colorBorder(), 0x8396A0u);

  edit->setUseAdvColors(true);
  EXPECT_TRUE(edit->parentColor());
  EXPECT_EQ(edit->colorFlat(), kPanelColor);
  EXPECT_EQ(edit->colorFocused(), lighter(kPanelColor, 10));
  EXPECT_EQ(edit->colorBorder(), darker(kPanelColor, 30));

  edit->setAdvColorFocused(40);
  EXPECT_EQ(edit->colorFocused(), lighter(kPanelColor, 40));

  setPanelColour(QColor(90, 60, 30));
  EXPECT_EQ(edit->colorFlat(), rgbColor(90, 60, 30));
  EXPECT_EQ(edit->colorBorder(), darker(rgbColor(90, 60, 30), 30));
  EXPECT_EQ(pixelAt(*edit, QPoint(0, 0)), toQColor(darker(rgbColor(90, 60, 30), 30)));

  edit->setUseAdvColors(false);
  EXPECT_FALSE(edit->parentColor());
}

}  // namespace
}  // namespace movarek::testing
