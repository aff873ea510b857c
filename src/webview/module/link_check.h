#pragma once
// Where a link the user clicked leads, found out before it opens outside: its host as it is
// reached (lower case, IDN in ASCII, no trailing dot) and, unless it is an address already,
// looked up for two seconds at most. A single name, and a name or address of this computer or
// its local network (local_network.h), never open. The question asked first shows where the
// link leads as it is reached; the lookup cannot bind the browser, which looks the name up
// again.
#include <QUrl>
#include <memory>

#include "webview/qt/engine_view.h"

namespace movarek {

// The link, with its check begun.
LinkOut checkedLink(const QUrl& url);

}  // namespace movarek
