#include <QImage>
#include <QPainter>

#include "flat/qt/flat_button.h"
#include "flat_fixture.h"

namespace movarek::testing {
namespace {

// 'L' top-left colour, 'D' bottom-right colour, '.' untouched.
std::vector<std::string> frameOf(int width, int height, int frameWidth) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    Frame3DBorder(painter, image.rect(), rgbColor(255, 0, 0), rgbColor(0, 0, 255), frameWidth);
  }
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const QColor pixel = image.pixelColor(x, y);
      row += pixel == Qt::red ? 'L' : pixel == Qt::blue ? 'D' : pixel == Qt::white ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(FlatDrawing, Frame3DBorder) {
  struct Case {
    int width;
    int height;
    int frameWidth;
    std::vector<std::string> rows;
  } const cases[] = {
      {5, 4, 1, {"LLLLD", "L...D", "L...D", "DDDDD"}},
      {6, 6, 2, {"LLLLLD", "LLLLDD", "LL..DD", "LL..DD", "LDDDDD", "DDDDDD"}},
  };
  for (const auto& c : cases) EXPECT_EQ(frameOf(c.width, c.height, c.frameWidth), c.rows);
}

// A parent that draws a stripe over its background.
class StripedPanel : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(0, 30, width(), 5, Qt::red); }
};

TEST(FlatDrawing, TransparentButtonShowsItsParentBehindIt) {
  StripedPanel panel;
  panel.resize(100, 100);
  QPalette colours = panel.palette();
  colours.setColor(QPalette::Window, QColor(0, 128, 0));
  panel.setPalette(colours);
  TFlatButton button(&panel);
  button.setGeometry(10, 20, 40, 40);
  button.setTransparentMode(TTransparentMode::tmAlways);
  const QImage image = button.grab().toImage();
  EXPECT_EQ(image.pixelColor(20, 5), QColor(0, 128, 0));
  EXPECT_EQ(image.pixelColor(20, 12), QColor(Qt::red));  // the stripe at the parent's y 32
  EXPECT_EQ(image.pixelColor(20, 16), QColor(0, 128, 0));
}

}  // namespace
}  // namespace movarek::testing
