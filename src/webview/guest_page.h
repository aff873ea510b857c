#pragma once
// The gateway's page shown to the user, as a guest: its scripts may be slow, hostile or absurd,
// and whatever they do the program stays the user's. The page stays on the gateway, asks the
// user nothing while it is not shown and no more than twice without the user acting in it,
// and gets no permission, no window, no download and no local file.
#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

#include "webview/engine_view.h"

namespace movarek {

class GuestPage : public QWebEnginePage {
 public:
  // `shownIn` is the widget that shows the page: a page that is not shown asks nothing.
  GuestPage(const QUrl& gateway, const EngineView::Events& events, QWidget& shownIn,
            QObject* parent);

  // The user pressed a key or a mouse button inside the page: it may ask again.
  void userActed();
  // The user clicked (or pressed Enter on) whatever is under the pointer or focused.
  void userClicked();

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
  // A dialog may come up now: the page is shown and has not asked twice in a row.
  bool mayAsk();
  // `url` is the link the user has just clicked: it opens outside, if anywhere.
  void openIfClicked(const QUrl& url);

  QUrl gateway_;
  EngineView::Events events_;
  QWidget& shownIn_;
  int dialogsInARow_ = 0;
  QUrl hoveredLink_;
  QElapsedTimer sinceClick_;
};

}  // namespace movarek
