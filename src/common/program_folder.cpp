#include "common/program_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace movarek {
namespace {

constexpr char kDataFolderName[] = "sms-movarek";

std::string executableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error).string();
  return exe.parent_path().string();
}

std::optional<std::string>& folderSlot() {
  static std::optional<std::string> folder;
  return folder;
}

std::optional<std::string>& dataFolderSlot() {
  static std::optional<std::string> folder;
  return folder;
}

std::optional<std::string> processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

// A relative or empty value is to be ignored, as the base directory rules say.
std::optional<std::string> absolutePath(const std::optional<std::string>& value) {
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  return value;
}

std::string homeFolder(const EnvironmentLookup& lookup) {
  if (const auto home = absolutePath(lookup("HOME"))) return *home;
  const passwd* user = ::getpwuid(::getuid());
  return user && user->pw_dir ? user->pw_dir : "/";
}

}  // namespace

const std::string& programFolder() {
  auto& folder = folderSlot();
  if (!folder) folder = executableFolder();
  return *folder;
}

void setProgramFolder(std::string folder) {
  folderSlot() = std::move(folder);
  dataFolderSlot().reset();
}

std::string programFile(std::string_view bareName) {
  return (std::filesystem::path(programFolder()) / bareName).string();
}

std::string chooseDataFolder(const std::string& programFolder, const EnvironmentLookup& lookup) {
  if (::access(programFolder.c_str(), W_OK | X_OK) == 0) return programFolder;
  const std::filesystem::path base =
      absolutePath(lookup("XDG_DATA_HOME")).value_or(homeFolder(lookup) + "/.local/share");
  return (base / kDataFolderName).string();
}

const std::string& dataFolder() {
  auto& folder = dataFolderSlot();
  if (!folder) folder = chooseDataFolder(programFolder(), processEnvironment);
  return *folder;
}

std::string dataFile(std::string_view bareName) {
  return (std::filesystem::path(dataFolder()) / bareName).string();
}

bool makeDataFolder() { return makeFolderPrivately(dataFolder()); }

// The folders above it as usual; the folder itself private to its user.
bool makeFolderPrivately(const std::string& path) {
  const std::filesystem::path folder = path;
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  std::filesystem::create_directories(folder.parent_path(), error);
  return ::mkdir(folder.c_str(), 0700) == 0 || std::filesystem::is_directory(folder, error);
}

bool createFilePrivately(const std::string& path) {
  const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (file < 0) return errno == EEXIST;
  ::close(file);
  return true;
}

}  // namespace movarek
