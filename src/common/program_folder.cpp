#include "common/program_folder.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace movarek {
namespace {

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

}  // namespace

const std::string& programFolder() {
  auto& folder = folderSlot();
  if (!folder) folder = executableFolder();
  return *folder;
}

void setProgramFolder(std::string folder) { folderSlot() = std::move(folder); }

std::string programFile(std::string_view bareName) {
  return (std::filesystem::path(programFolder()) / bareName).string();
}

}  // namespace movarek
