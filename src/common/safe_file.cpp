#include "common/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace movarek {
namespace {

// A disk that fills up part way through a file fails one of several writes; writing a page at
// a time lets the fault tests reach each of them.
constexpr std::size_t kWritePart = 4096;

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

bool replaceFile(const std::string& path, std::string_view bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  // A temporary file is private to its owner; the data file is not.
  const bool stored = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && flushToDisk(fd);
  const bool closed = ::close(fd) == 0;
  if (stored && closed && renameOver(temporary, path)) return true;
  ::unlink(temporary.c_str());
  return false;
}

FileFaults& fileFaults() {
  static FileFaults faults;
  return faults;
}

}  // namespace movarek
