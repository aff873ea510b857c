// The yardstick for a fast start: an empty Qt Widgets window of the main window's size.
// Usage: bench-bare-widgets RESULT_FILE [TEXT]; with TEXT the window shows it in a label, which
// makes it read the font configuration as every window with text does.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "probe.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const bench::ResultFile results(QApplication::arguments().value(1));
  QWidget window;
  window.resize(477, 224);
  if (QApplication::arguments().size() > 2) {
    new QLabel(QApplication::arguments().value(2), &window);
  }
  new bench::PaintProbe(window, [&](double paintedAt) {
    results.writeFirstPaint(paintedAt);
    QTimer::singleShot(0, &application, &QApplication::quit);
  });
  window.show();
  return QApplication::exec();
}
