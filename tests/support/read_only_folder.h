#pragma once
// Makes a folder refuse new files for the life of the object. Tests run as root too, where
// permission bits do not stop a write; the folder is then marked immutable instead.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace movarek::testing {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::string path) : path_(std::move(path)) {
    ::chmod(path_.c_str(), 0555);
    if (!refusesNewFiles()) setImmutable(true);
  }
  ~ReadOnlyFolder() {
    setImmutable(false);
    ::chmod(path_.c_str(), 0755);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // False where neither way works (a file system without the immutable mark): skip the test.
  bool refusesNewFiles() const {
    const std::string probe = path_ + "/.probe";
    const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
  }

 private:
  void setImmutable(bool on) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
  }

  std::string path_;
};

}  // namespace movarek::testing
