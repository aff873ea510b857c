// The yardstick for a fast start: an empty Qt Widgets window of the main window's size.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "probe.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const bench::ResultFile results(QApplication::arguments().value(1));
  QWidget window;
  window.resize(477, 224);
  new bench::PaintProbe(window, [&](double paintedAt) {
    results.write("first_paint_ms", paintedAt);
    QTimer::singleShot(0, &application, &QApplication::quit);
  });
  window.show();
  return QApplication::exec();
}
