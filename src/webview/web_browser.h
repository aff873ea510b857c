#pragma once
// The embedded web view every gateway request goes through.
#include <QUrl>
#include <QWidget>
#include <string_view>

#include "send/send_failure.h"

class QWebEngineLoadingInfo;
class QWebEngineView;

namespace movarek {

class TCppWebBrowser : public QWidget {
  Q_OBJECT

 public:
  explicit TCppWebBrowser(QWidget* parent = nullptr);

  // A plain GET of the URL into this view; returns at once. The URL is code page 1250 text:
  // each byte outside printable ASCII travels percent-encoded as that byte (ä as %E4), which
  // is how the gateway reads it.
  void Navigate(std::string_view cp1250Url);

  // Gives up the load under way.
  void Stop();

  QWebEngineView* view() const { return view_; }

 signals:
  // After every finished load, a failed one included.
  void DocumentComplete();
  // The end of the load that the last Navigate began; a load it replaced is not reported.
  void LoadSucceeded();
  void LoadFailed(movarek::LoadFailure failure);

 private:
  void onLoadingChanged(const QWebEngineLoadingInfo& info);

  QWebEngineView* view_;
  QUrl requestedUrl_;  // of the last Navigate
  QUrl replacedUrl_;   // of the Navigate before it
};

// The bytes of a URL as they go on the wire.
QByteArray wireUrl(std::string_view cp1250Url);

}  // namespace movarek
