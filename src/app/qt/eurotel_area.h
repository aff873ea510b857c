#pragma once
// The area of the Eurotel page: the waiting notice while the page loads, the page once it has
// come, and what the user can do when it cannot come. A page whose renderer ends (it crashed,
// was killed, ran out of memory) is loaded again at once; one that ends again within a minute is
// left stopped, with a notice that says so and a button that loads it again.
#include <QElapsedTimer>
#include <QObject>

class QLabel;
class QPushButton;

namespace movarek {

class TCppWebBrowser;

class EurotelArea : public QObject {
 public:
  // `notice` is the panel the view lies in; the view is as wide as nothing until its page has
  // come.
  EurotelArea(QLabel& notice, TCppWebBrowser& view);

  // A document of the page is complete: the view covers the notice.
  void pageComplete();

 private:
  void rendererEnded();
  void engineMissing();
  void reload();
  // The view gives way to the notice with `text`; `canReload` shows the button that loads the
  // page again.
  void showNotice(const QString& text, bool canReload);

  QLabel& notice_;
  TCppWebBrowser& view_;
  QPushButton* reload_;
  QElapsedTimer sinceRendererEnded_;
};

}  // namespace movarek
