#pragma once
// The two web profiles of the program: one for the requests the program sends, one for the
// gateway's page that the user sees. Each has renderer processes and connections of its own,
// so that nothing the shown page does (a busy script, endless requests) holds a send back; both
// reach the network through the gatekeeper alone.
class QUrl;
class QWebEngineProfile;

namespace movarek {

// Hidden views' requests: no scripts, nothing fetched but the page asked for.
QWebEngineProfile& sendProfile(const QUrl& gateway);

// The shown gateway page: no permission, download, window, plugin or local file, and no request
// to anywhere but `gateway`.
QWebEngineProfile& guestProfile(const QUrl& gateway);

// The gateway's own pages: plain HTTP on its host and port.
bool onGateway(const QUrl& url, const QUrl& gateway);

}  // namespace movarek
