#pragma once
// The desktop's view of the network is read through a module of its own, loaded once the main
// window has painted: Qt's network library and the eight libraries it brings would otherwise be
// loaded and bound at every start, before the window can be shown.
#include <QString>
#include <functional>

class QObject;

namespace movarek {

// Whether the network can be reached, and the words a log gives the desktop's answer.
using NetworkChanged = std::function<void(bool reachable, const QString& told)>;

// The module's entry: listens to the desktop from now on and tells each change to `changed`
// while `receiver` lives; false where the desktop tells nothing of the network. `reachable`
// is the network's state as listening begins.
using ListenToNetwork = bool (*)(QObject& receiver, NetworkChanged changed, bool& reachable);
inline constexpr char kListenToNetworkSymbol[] = "movarekListenToNetwork";

}  // namespace movarek
