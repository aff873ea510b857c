#pragma once
// Who holds the other end of a loopback connection this process took. The gatekeeper lets in
// connections of this very process alone (the web engine's network service runs inside it):
// none of another user of the machine, none of another program of the user's own.
namespace movarek {

enum class PeerSocket { ThisProcess, AnotherProcess, AnotherUser, Unknown };

// The peer of the accepted TCP socket `connection`: its owner found by its address and port in
// the kernel's socket tables (its socket diagnostics, else /proc/net/tcp), then its inode among
// this process's open files. Unknown when that cannot be told.
PeerSocket peerSocketOf(int connection);

}  // namespace movarek
