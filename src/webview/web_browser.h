#pragma once
// The embedded web view every gateway request goes through.
#include <QWidget>
#include <string_view>

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

  QWebEngineView* view() const { return view_; }

 signals:
  // After every finished load, a failed one included.
  void DocumentComplete();

 private:
  QWebEngineView* view_;
};

// The bytes of a URL as they go on the wire.
QByteArray wireUrl(std::string_view cp1250Url);

}  // namespace movarek
