#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "common/data_file.h"
#include "common/program_folder.h"
#include "read_only_folder.h"
#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

using DataFolderTest = TemporaryProgramFolder;

EnvironmentLookup environment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST_F(DataFolderTest, TheProgramFolderWhereFilesCanBeMadeThereElseTheUsersDataFolder) {
  const std::string installed = folder + "/usr/bin";
  std::filesystem::create_directories(installed);
  const ReadOnlyFolder readOnly(installed);
  if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
  struct Case {
    const char* what;
    std::string program;
    std::map<std::string, std::string> environment;
    std::string chosen;
  };
  const Case cases[] = {
      {"a writable program folder",
       folder,
       {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/eva"}},
       folder},
      {"XDG_DATA_HOME set",
       installed,
       {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/eva"}},
       "/data/sms-movarek"},
      {"XDG_DATA_HOME unset",
       installed,
       {{"HOME", "/home/eva"}},
       "/home/eva/.local/share/sms-movarek"},
      {"XDG_DATA_HOME empty",
       installed,
       {{"XDG_DATA_HOME", ""}, {"HOME", "/home/eva"}},
       "/home/eva/.local/share/sms-movarek"},
      {"XDG_DATA_HOME relative",
       installed,
       {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/eva"}},
       "/home/eva/.local/share/sms-movarek"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseDataFolder(c.program, environment(c.environment)), c.chosen) << c.what;
  }
}

TEST_F(DataFolderTest, TheDataFolderIsMadeAtTheFirstWriteOrTheFailureIsToldOnce) {
  const std::string installed = folder + "/bin";
  std::filesystem::create_directories(installed);
  const std::string home = folder + "/home";
  setenv("XDG_DATA_HOME", (home + "/share").c_str(), 1);
  {
    const ReadOnlyFolder readOnly(installed);
    if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
    setProgramFolder(installed);
    EXPECT_EQ(dataFolder(), home + "/share/sms-movarek");
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));

    std::vector<std::string> told;
    DataFile file("kontakty.dat",
                  [&](const std::string& text, const std::string&) { told.push_back(text); });
    EXPECT_TRUE(file.write(std::string("\0\0", 2)));
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(file.read(10), std::string("\0\0", 2));
    struct stat info {};
    ASSERT_EQ(::stat(dataFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A data folder that cannot be made: told once, and what was stored is kept.
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const ReadOnlyFolder noHome(home);
    EXPECT_FALSE(file.write(std::string("\x01\x00", 2)));
    EXPECT_FALSE(file.write(std::string("\x02\x00", 2)));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "Soubor kontakty.dat nelze uložit do složky " + home +
                           "/share/sms-movarek.\nZměny platí jen do ukončení programu.");
  }
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace movarek::testing
