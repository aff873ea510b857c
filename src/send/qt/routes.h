#pragma once
// Every way a message can go, by the name its records keep.
#include <string_view>

class QObject;
class QString;

namespace movarek {

class ModemManager;
class SendRoute;
class TCppWebBrowser;

// What a page has for the routes it sends by.
struct RouteMeans {
  TCppWebBrowser* browser = nullptr;  // a hidden web view
  ModemManager* modems = nullptr;     // the user's modems
};

// A route named `name`, owned by `parent`; `logName` tells its sends apart in the log. None
// for a name no route of this program has.
SendRoute* makeRoute(std::string_view name, const RouteMeans& means, const QString& logName,
                     QObject* parent);

}  // namespace movarek
