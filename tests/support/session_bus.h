#pragma once
#include <QtGlobal>

namespace movarek::testing {

// A test that brings no D-Bus session of its own gets none. Without an address libdbus starts a
// session bus for it that outlives it, and an accessibility bus started on that one names itself
// on the shared X display, where every later test would find it. Nor does it hear the system's.
inline void noUnaskedBuses() {
  if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/movarek-no-session-bus");
  }
  if (!qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS")) {
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/movarek-no-system-bus");
  }
}

}  // namespace movarek::testing
