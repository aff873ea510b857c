#pragma once
// The view of the gateway's page: a Czech context menu with what a form needs, and the user's
// own clicks and keys told to the page, which trusts nothing else; nothing dropped on it.
#include <QWebEngineView>

namespace movarek {

class GuestPage;

class GuestView : public QWebEngineView {
 public:
  explicit GuestView(QWidget* parent);

  // The view takes its page once the page can know the view it is shown in.
  void setGuestPage(GuestPage* page);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GuestPage* page_ = nullptr;
  QUrl pressedLink_;  // the link under the mouse button the user holds down
};

}  // namespace movarek
