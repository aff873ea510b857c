#include "common/instance_endpoint.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

using InstanceEndpointTest = TemporaryProgramFolder;
namespace fs = std::filesystem;

EnvironmentLookup environment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

std::string madeFolder(const std::string& path, mode_t mode) {
  fs::create_directories(path);
  ::chmod(path.c_str(), mode);
  return path;
}

TEST_F(InstanceEndpointTest, OnlyAFolderClosedToEveryoneElseIsPrivate) {
  const std::string own = folder + "/tmp/sms-movarek-" + std::to_string(::geteuid());
  struct Case {
    const char* what;
    std::map<std::string, std::string> environment;
    mode_t ownMode;  // 0: the folder made for the purpose does not exist beforehand
    std::optional<std::string> chosen;
  };
  const Case cases[] = {
      {"the runtime folder",
       {{"XDG_RUNTIME_DIR", madeFolder(folder + "/run", 0700)}},
       0,
       folder + "/run"},
      {"a runtime folder others may enter, a folder made for the purpose",
       {{"XDG_RUNTIME_DIR", madeFolder(folder + "/open", 0755)}, {"TMPDIR", folder + "/tmp"}},
       0,
       own},
      {"no runtime folder, the folder made before", {{"TMPDIR", folder + "/tmp"}}, 0700, own},
      {"a relative runtime folder",
       {{"XDG_RUNTIME_DIR", "run"}, {"TMPDIR", folder + "/tmp"}},
       0,
       own},
      // Taken by someone else first: the user's own cache folder keeps the program single.
      {"the folder made for the purpose open to others",
       {{"TMPDIR", folder + "/tmp"}, {"XDG_CACHE_HOME", folder + "/cache"}},
       0777,
       folder + "/cache/sms-movarek-" + std::to_string(::geteuid())},
      {"the same, the cache folder by the home folder",
       {{"TMPDIR", folder + "/tmp"}, {"HOME", folder + "/home"}},
       0777,
       folder + "/home/.cache/sms-movarek-" + std::to_string(::geteuid())},
      {"the same without a home folder", {{"TMPDIR", folder + "/tmp"}}, 0777, std::nullopt},
  };
  for (const auto& [what, values, ownMode, chosen] : cases) {
    fs::remove_all(folder + "/tmp");
    fs::create_directories(folder + "/tmp");
    if (ownMode) madeFolder(own, ownMode);
    EXPECT_EQ(privateRuntimeFolder(environment(values)), chosen) << what;
    if (chosen) {
      struct stat info {};
      ASSERT_EQ(::lstat(chosen->c_str(), &info), 0) << what;
      EXPECT_EQ(info.st_mode & 0777, 0700u) << what;
    }
  }
  // A link to a private folder is not one: whoever made the link chose where it points.
  fs::remove_all(folder + "/tmp");
  fs::create_directories(folder + "/tmp");
  fs::create_directory_symlink(madeFolder(folder + "/elsewhere", 0700), own);
  EXPECT_EQ(privateRuntimeFolder(environment({{"TMPDIR", folder + "/tmp"}})), std::nullopt);
}

TEST_F(InstanceEndpointTest, TheEndpointIsNamedByTheFolderAsTheFileSystemResolvesIt) {
  fs::create_directories(folder + "/real/share");
  fs::create_directories(folder + "/other/deeper");
  fs::create_directory_symlink(folder + "/real", folder + "/link");
  fs::create_directory_symlink(folder + "/other/deeper", folder + "/real/down");
  const std::string canonicalRoot = fs::canonical(folder).string();
  const std::pair<std::string, std::string> cases[] = {
      {folder + "/link/share/sms-movarek", canonicalRoot + "/real/share/sms-movarek"},
      {folder + "/link/share/../share/./sms-movarek/", canonicalRoot + "/real/share/sms-movarek"},
      {folder + "/link/missing/sms-movarek", canonicalRoot + "/real/missing/sms-movarek"},
      {folder + "/real", canonicalRoot + "/real"},
      // ".." after a link leaves the folder the link points to, not the link.
      {folder + "/link/down/../sms-movarek", canonicalRoot + "/other/sms-movarek"},
  };
  for (const auto& [given, canonical] : cases) {
    EXPECT_EQ(canonicalFolder(given), canonical) << given;
  }
  const auto viaLink = instanceEndpoint("/run/user/1", folder + "/link/share/sms-movarek");
  const auto direct = instanceEndpoint("/run/user/1", folder + "/real/share/sms-movarek");
  EXPECT_EQ(viaLink.socket, direct.socket);
  EXPECT_EQ(viaLink.lock, direct.lock);
  EXPECT_TRUE(viaLink.socket.starts_with("/run/user/1/sms-movarek-")) << viaLink.socket;
  EXPECT_TRUE(viaLink.socket.ends_with(".socket")) << viaLink.socket;
  EXPECT_NE(instanceEndpoint("/run/user/1", folder + "/real").socket, direct.socket);
}

}  // namespace
}  // namespace movarek::testing
