#include "common/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace movarek {
namespace {

// A disk that fills up part way through a file fails one of several writes; writing a page at
// a time lets the fault tests reach each of them.
constexpr std::size_t kWritePart = 4096;
// Links to links are followed this far; a loop of links ends there.
constexpr int kMostLinkHops = 40;
// A temporary file is ".NAME" followed by this and mkstemp's six random letters and digits: a
// name nobody gives a file, so that only the program's own are ever taken for leftovers.
constexpr std::string_view kTemporaryMark = ".sms-movarek-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr mode_t kUsualUmask = 022;

// What every temporary file of the data file `name` begins with.
std::string temporaryNameStart(std::string_view name) {
  return std::string(".").append(name).append(kTemporaryMark);
}

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

// The new name reaches the disk too: after a power cut the folder holds the new file, not the
// old one.
bool flushFolder(const std::filesystem::path& folder) {
  if (strikes(fileFaults().flushFolder)) return false;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool flushed = ::fsync(fd) == 0;
  ::close(fd);
  return flushed;
}

// The process's umask, read without changing it (umask() itself sets it for every thread).
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("Umask:"))
      return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  }
  return kUsualUmask;
}

// The file being replaced keeps its permissions and, where this user may give them, its owner
// and group; a new file gets what the umask leaves of read and write for all.
void takeOverMode(int fd, const std::string& replaced) {
  struct stat old {};
  if (::stat(replaced.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
    ::fchmod(fd, 0666 & ~currentUmask());
    return;
  }
  // Where neither can be kept, the file is this user's, as any file the user writes.
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  ::fchmod(fd, old.st_mode & 07777);
}

// The folder a path lies in, as the file system resolves it (links on the way included).
std::filesystem::path resolvedFolderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::error_code error;
  const auto resolved = std::filesystem::canonical(folder, error);
  return error ? folder : resolved;
}

std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
  return file.parent_path() / temporaryNameStart(file.filename().string()).append("XXXXXX");
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

int openRegularFile(const std::string& path) {
  // Without O_NONBLOCK a pipe in place of the file would hold the program until something
  // writes to it; a regular file reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::optional<std::string> readFileStart(const std::string& path, std::size_t limit) {
  const int fd = openRegularFile(path);
  if (fd < 0) return std::nullopt;
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
  std::filesystem::path target = path;
  for (int hop = 0; hop < kMostLinkHops; ++hop) {
    std::error_code error;
    const auto pointsTo = std::filesystem::read_symlink(target, error);
    if (error) break;  // not a link (or nothing there): the file itself
    target = pointsTo.is_absolute() ? pointsTo : resolvedFolderOf(target) / pointsTo;
  }
  return (resolvedFolderOf(target) / target.filename()).string();
}

bool replaceFile(const std::string& path, std::string_view bytes) {
  return replaceFileWith(path, [bytes](const ChunkWriter& write) { return write(bytes); });
}

bool replaceFileWith(const std::string& path,
                     const std::function<bool(const ChunkWriter& write)>& produce) {
  // Through a link to the file it points to: the link stays a link.
  const std::filesystem::path target = linkTarget(path);
  std::string temporary = temporaryBeside(target).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  takeOverMode(fd, target);
  const bool stored =
      produce([fd](std::string_view chunk) { return writeAll(fd, chunk); }) && flushToDisk(fd);
  const bool closed = ::close(fd) == 0;
  if (stored && closed && renameOver(temporary, target)) return flushFolder(target.parent_path());
  ::unlink(temporary.c_str());
  return false;
}

bool isLeftoverOf(std::string_view name, std::string_view dataFileName) {
  const std::string start = temporaryNameStart(dataFileName);
  if (name.size() != start.size() + kTemporarySuffixLength || !name.starts_with(start)) {
    return false;
  }
  const auto suffix = name.substr(start.size());
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
