// Replacing a file keeps what the user set on it: its permissions, the links to it, the folder
// it lies in through linked folders.
#include "common/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

namespace fs = std::filesystem;

using SafeFileTest = TemporaryProgramFolder;

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

mode_t modeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// The umask of the test, for the time of one case.
class Umask {
 public:
  explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
  ~Umask() { ::umask(previous_); }

 private:
  mode_t previous_;
};

TEST_F(SafeFileTest, AFileKeepsItsModeAndANewOneFollowsTheUmask) {
  const fs::path file = fs::path(folder) / "padr.dat";
  for (const mode_t mode : {0600, 0640, 0644, 0660, 0604}) {
    std::ofstream(file) << "old";
    fs::permissions(file, static_cast<fs::perms>(mode));
    const Umask strict(077);
    ASSERT_TRUE(replaceFile(file.string(), "new")) << std::oct << mode;
    EXPECT_EQ(modeOf(file), mode) << std::oct << mode;
    EXPECT_EQ(bytesOf(file), "new");
  }
  for (const auto& [mask, mode] :
       {std::pair<mode_t, mode_t>{077, 0600}, {022, 0644}, {002, 0664}}) {
    fs::remove(file);
    const Umask set(mask);
    ASSERT_TRUE(replaceFile(file.string(), "new")) << std::oct << mask;
    EXPECT_EQ(modeOf(file), mode) << std::oct << mask;
  }
}

TEST_F(SafeFileTest, LinksAreFollowedAsTheSystemFollowsThem) {
  struct Case {
    const char* what;
    std::function<void(const fs::path& root)> make;  // makes root/padr.dat point somewhere
    fs::path replaced;                               // relative to root
  };
  const Case cases[] = {
      {"a relative link",
       [](const fs::path& root) { fs::create_symlink("../data/real.dat", root / "p/padr.dat"); },
       "data/real.dat"},
      {"a chain of links",
       [](const fs::path& root) {
         fs::create_symlink("first.dat", root / "p/padr.dat");
         fs::create_symlink("../data/second.dat", root / "p/first.dat");
         fs::create_symlink(root / "data/real.dat", root / "data/second.dat");
       },
       "data/real.dat"},
      {"through a linked folder, .. leaving the folder linked to",
       [](const fs::path& root) {
         fs::create_directories(root / "other/deep");
         fs::create_directory_symlink(root / "other/deep", root / "p/sub");
         fs::create_symlink("sub/../real.dat", root / "p/padr.dat");
       },
       "other/real.dat"},
      {"a link to a file not made yet",
       [](const fs::path& root) { fs::create_symlink(root / "data/new.dat", root / "p/padr.dat"); },
       "data/new.dat"},
  };
  for (const auto& [what, make, replaced] : cases) {
    const fs::path root = fs::path(folder) / "case";
    fs::remove_all(root);
    fs::create_directories(root / "p");
    fs::create_directories(root / "data");
    std::ofstream(root / "data/real.dat") << "old";
    std::ofstream(root / "p/real.dat") << "not this one";
    make(root);
    ASSERT_TRUE(replaceFile((root / "p/padr.dat").string(), "new")) << what;
    EXPECT_EQ(bytesOf(root / replaced), "new") << what;
    EXPECT_TRUE(fs::is_symlink(root / "p/padr.dat")) << what;
    EXPECT_EQ(bytesOf(root / "p/real.dat"), "not this one") << what;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      EXPECT_EQ(entry.path().filename().string().find("sms-movarek"), std::string::npos)
          << what << ": " << entry.path();
    }
  }
}

TEST_F(SafeFileTest, TheFolderReachesTheDiskWithTheNewName) {
  const fs::path file = fs::path(folder) / "rvolby.dat";
  fileFaults() = {};
  fileFaults().flushFolder = {1, false};
  EXPECT_FALSE(replaceFile(file.string(), "new")) << "the folder was not flushed";
  fileFaults() = {};
  EXPECT_TRUE(replaceFile(file.string(), "new"));
}

}  // namespace
}  // namespace movarek::testing
