#pragma once
// Where one running copy of the program tells later starts that it holds a data folder: a lock
// and a socket in a folder private to the user, named after the data folder. Nobody else can
// take them, so nobody else can keep the program from starting or talk to it.
#include <optional>
#include <string>

#include "common/program_folder.h"

namespace movarek {

// A folder the user alone may enter: $XDG_RUNTIME_DIR, or sms-movarek-UID made for the purpose
// in $TMPDIR (/tmp). None when neither is the user's own folder closed to everyone else.
std::optional<std::string> privateRuntimeFolder(const EnvironmentLookup& lookup);

// The folder's path with every link and "." or ".." resolved as the file system resolves them,
// also when its last parts do not exist yet (a data folder made at the first write).
std::string canonicalFolder(const std::string& folder);

struct InstanceEndpoint {
  std::string lock;    // a file whose lock the running copy holds
  std::string socket;  // where it answers a later start
};

// The endpoint of a data folder in the private folder `runtime`.
InstanceEndpoint instanceEndpoint(const std::string& runtime, const std::string& dataFolder);

}  // namespace movarek
