// The yardstick for the web engine: a window that creates a web view before it is shown, as a
// plain program would. After its first paint it loads one page (given on the command line) and
// reports the memory of all its processes once the page is there.
#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWidget>

#include "probe.h"

int main(int argc, char* argv[]) {
  QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  const bench::ResultFile results(QApplication::arguments().value(1));
  const QUrl page(QApplication::arguments().value(2));
  QWidget window;
  window.resize(477, 224);
  auto* view = new QWebEngineView(&window);
  (new QVBoxLayout(&window))->addWidget(view);
  new bench::PaintProbe(window, [&](double paintedAt) {
    results.writeFirstPaint(paintedAt);
    QTimer::singleShot(0, view, [&] { view->load(page); });
  });
  QObject::connect(view, &QWebEngineView::loadFinished, &application, [&] {
    results.write(bench::processTreeMemory());
    QApplication::quit();
  });
  window.show();
  return QApplication::exec();
}
