#include "common/instance_endpoint.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/diagnostics.h"

namespace movarek {
namespace {

// The user's own folder, a real one (no link), that nobody else may read, write or enter.
bool isPrivateFolder(const std::string& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// FNV-1a: the same folder gives the same name in every copy of the program.
std::string folderHash(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ULL;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

// An absolute path from the environment, or nothing.
std::optional<std::string> absolutePath(const EnvironmentLookup& lookup, const char* name) {
  auto path = lookup(name);
  if (path && path->starts_with('/')) return path;
  return std::nullopt;
}

// `parent`/sms-movarek-UID, made now or already there, if it is the user's alone.
std::optional<std::string> ownFolderIn(const std::string& parent) {
  const std::string own = parent + "/sms-movarek-" + std::to_string(::geteuid());
  ::mkdir(own.c_str(), 0700);  // whose it is is checked next
  if (isPrivateFolder(own)) return own;
  logFault("the one-copy endpoint cannot be in " + own + ": not a folder of this user's alone");
  return std::nullopt;
}

}  // namespace

std::optional<std::string> privateRuntimeFolder(const EnvironmentLookup& lookup) {
  if (const auto runtime = absolutePath(lookup, "XDG_RUNTIME_DIR");
      runtime && isPrivateFolder(*runtime)) {
    return runtime;
  }
  if (auto own = ownFolderIn(absolutePath(lookup, "TMPDIR").value_or("/tmp"))) return own;
  // Someone else took the name in the shared folder first: the user's own cache folder, which
  // nobody else can write, keeps the program single all the same.
  auto cache = absolutePath(lookup, "XDG_CACHE_HOME");
  if (const auto home = absolutePath(lookup, "HOME"); !cache && home) cache = *home + "/.cache";
  if (!cache) return std::nullopt;
  std::error_code ignored;
  std::filesystem::create_directories(*cache, ignored);
  return ownFolderIn(*cache);
}

std::string canonicalFolder(const std::string& folder) {
  std::filesystem::path existing = folder;
  std::filesystem::path missing;
  // Up to the deepest folder that exists: the file system resolves that one.
  for (;;) {
    if (char* resolved = ::realpath(existing.c_str(), nullptr)) {
      std::filesystem::path canonical = resolved;
      std::free(resolved);
      for (const auto& part : missing) {
        if (!part.empty()) canonical /= part;
      }
      return canonical.lexically_normal().string();
    }
    if (!existing.has_relative_path())
      return std::filesystem::path(folder).lexically_normal().string();
    missing = existing.filename() / missing;
    existing = existing.parent_path();
  }
}

InstanceEndpoint instanceEndpoint(const std::string& runtime, const std::string& dataFolder) {
  const std::string base = runtime + "/sms-movarek-" + folderHash(canonicalFolder(dataFolder));
  return {base + ".lock", base + ".socket"};
}

}  // namespace movarek
