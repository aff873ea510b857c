#include "common/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace movarek {
namespace {

// A disk that fills up part way through a file fails one of several writes; writing a page at
// a time lets the fault tests reach each of them.
constexpr std::size_t kWritePart = 4096;
// Links to links are followed this far; a loop of links ends there.
constexpr int kMostLinkHops = 40;
// mkstemp's six random letters and digits.
constexpr std::size_t kTemporarySuffixLength = 6;

// Counts a call of a step and tells whether it is to fail.
bool strikes(FileFault& fault) {
  if (fault.failingCall <= 0) return false;
  ++fault.calls;
  return fault.calls == fault.failingCall || (fault.persists && fault.calls > fault.failingCall);
}

// The three steps that put a file on the disk, each failing as the real call would.
ssize_t writePart(int fd, std::string_view bytes) {
  if (strikes(fileFaults().write)) {
    errno = ENOSPC;
    return -1;
  }
  return ::write(fd, bytes.data(), std::min(bytes.size(), kWritePart));
}

bool flushToDisk(int fd) {
  if (strikes(fileFaults().flush)) return false;
  return ::fsync(fd) == 0;
}

bool renameOver(const std::string& from, const std::string& to) {
  if (strikes(fileFaults().rename)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto written = writePart(fd, bytes);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> readFileStart(const std::string& path, std::size_t limit) {
  // Without O_NONBLOCK a pipe in place of the file would hold the program until something
  // writes to it; a regular file reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  std::vector<char> chunk(16384);
  while (bytes.size() < limit) {
    const auto wanted = std::min(chunk.size(), limit - bytes.size());
    const auto got = ::read(fd, chunk.data(), wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

std::string linkTarget(const std::string& path) {
  std::string target = path;
  for (int hop = 0; hop < kMostLinkHops; ++hop) {
    std::error_code error;
    const auto pointsTo = std::filesystem::read_symlink(target, error);
    if (error) return target;  // not a link (or nothing there): the file itself
    target = (std::filesystem::path(target).parent_path() / pointsTo).lexically_normal().string();
  }
  return target;
}

bool replaceFile(const std::string& path, std::string_view bytes) {
  // Through a link to the file it points to: the link stays a link.
  const std::string target = linkTarget(path);
  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  // A temporary file is private to its owner; the data file is not.
  const bool stored = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && flushToDisk(fd);
  const bool closed = ::close(fd) == 0;
  if (stored && closed && renameOver(temporary, target)) return true;
  ::unlink(temporary.c_str());
  return false;
}

bool isLeftoverOf(std::string_view name, std::string_view dataFileName) {
  if (name.size() != dataFileName.size() + 1 + kTemporarySuffixLength ||
      !name.starts_with(dataFileName) || name[dataFileName.size()] != '.') {
    return false;
  }
  const auto suffix = name.substr(dataFileName.size() + 1);
  return std::all_of(suffix.begin(), suffix.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

namespace {

void removeLeftoversBeside(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
    // Only plain files: a link or a folder of that name is not one of ours.
    if (isLeftoverOf(entry.path().filename().string(), name) &&
        entry.symlink_status(error).type() == std::filesystem::file_type::regular) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

}  // namespace

// Beside the link (a write from before it was made) and beside the file it points to.
void removeLeftovers(const std::string& path) {
  removeLeftoversBeside(path);
  const std::string target = linkTarget(path);
  if (target != path) removeLeftoversBeside(target);
}

FileFaults& fileFaults() {
  static FileFaults faults;
  return faults;
}

}  // namespace movarek
