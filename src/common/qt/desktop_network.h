#pragma once
// The desktop's own view of the network (NetworkManager's, or whatever tells Qt whether the
// network can be reached), for what waits for the network to come back. Qt keeps that view once
// a process; tests stand in for it with a network of their own, so that they never depend on the
// machine's.
#include <QObject>

namespace movarek {

class DesktopNetwork : public QObject {
  Q_OBJECT

 public:
  static DesktopNetwork& instance();

  // Listens to the desktop from now on: loaded after the main window's first paint, since
  // asking NetworkManager takes a while. Nothing where the desktop tells nothing or the
  // module that asks it is missing.
  void listen();

  // A test's own network, which never changes (false puts the desktop's back): the desktop is
  // then not listened to.
  void standIn(bool standing) { standIn_ = standing; }

 signals:
  // The network can be reached again: its reachability turned to the local site or the
  // internet from less.
  void back();

 private:
  bool reachable_ = false;
  bool listening_ = false;
  bool standIn_ = false;
};

}  // namespace movarek
