#pragma once
// The gateway's page shown to the user, as a guest: its scripts may be slow, hostile or absurd,
// and whatever they do the program stays the user's. The page stays on the gateway, tells the
// user nothing while it is not shown and no more than twice without the user acting in it,
// and gets no permission, no window, no download and no local file.
#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

#include "webview/qt/engine_view.h"

namespace movarek {

class GuestPage : public QWebEnginePage {
 public:
  // `shownIn` is the widget that shows the page: a page that is not shown tells nothing.
  GuestPage(const QUrl& gateway, const EngineView::Events& events, QWidget& shownIn,
            QObject* parent);

  // The link under the pointer, if any.
  const QUrl& hoveredLink() const { return hoveredLink_; }

  // The user pressed a key or a mouse button inside the page: it may tell again.
  void userActed();
  // The user pressed and released the mouse button on `link`: it may open, once, now.
  void userClickedLink(const QUrl& link);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  void javaScriptAlert(const QUrl& origin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                        QString* result) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceId) override;
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override;

 private:
  void refuseEveryRequest();
  // The page may tell the user now: it is shown and has not told twice in a row.
  bool mayTell();
  // `url` is where the page goes: it opens outside if it is the link the user just clicked.
  void openIfClicked(const QUrl& url);

  QUrl gateway_;
  EngineView::Events events_;
  QWidget& shownIn_;
  int dialogsInARow_ = 0;
  QUrl hoveredLink_;
  QUrl clickedLink_;
  QElapsedTimer sinceClick_;
};

}  // namespace movarek
