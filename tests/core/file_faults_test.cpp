// The program's data files on a failing disk: whichever step of storing a file fails, the file
// already there stays whole, no temporary file is left, and the change is stored by the next
// write that succeeds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/stored_fields.h"
#include "common/program_folder.h"
#include "common/safe_file.h"
#include "read_only_folder.h"

namespace movarek {
namespace {

namespace fs = std::filesystem;

// One of the program's files, driven as the program drives it.
struct StoredFile {
  std::string name;
  std::function<void()> startEmpty;            // the state of a first start, in memory
  std::function<bool(int)> change;             // makes change number n and stores the file
  std::function<std::string(int)> bytesAfter;  // the file that holds changes 1 to n
  std::function<bool()> loadsEmpty;            // reads the file: an empty state comes back
  int writesPerStore;                          // parts written to store the file once
};

StoredFields padrFields(int n) {
  // Long enough that storing it takes several writes.
  return {"change" + std::to_string(n) + "@sms.cz; " + std::string(9000, 'x'),
          StoredFields::Oskar{n % 4, std::to_string(100000 + n), "777", "654321"}};
}

StoredFile padrDat() {
  return {kStoredFieldsFile,
          [] {},
          [](int n) { return saveStoredFields(padrFields(n)); },
          [](int n) { return storedFieldsBytes(padrFields(n)); },
          [] {
            // Nothing read leaves the fields as designed: empty.
            const auto fields = loadStoredFields();
            return !fields || (fields->emailAddresses.empty() && !fields->oskar);
          },
          3};
}

std::vector<StoredFile> storedFiles() { return {padrDat()}; }

class FileFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int folders = 0;
    folder_ = fs::temp_directory_path() /
              ("movarek-faults-" + std::to_string(::getpid()) + "-" + std::to_string(++folders));
    fs::create_directories(folder_);
    setProgramFolder(folder_.string());
    fileFaults() = {};
  }
  void TearDown() override {
    fileFaults() = {};
    fs::remove_all(folder_);
  }

  // Starts over on an empty folder with the file of change 0 stored.
  void startOver(const StoredFile& file) {
    fileFaults() = {};
    for (const auto& entry : fs::directory_iterator(folder_)) fs::remove_all(entry.path());
    file.startEmpty();
    ASSERT_TRUE(file.change(0));
  }

  std::string bytesOf(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::vector<std::string> filesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
};

struct Step {
  const char* name;
  FileFault FileFaults::*fault;
};
constexpr Step kSteps[] = {
    {"write", &FileFaults::write}, {"flush", &FileFaults::flush}, {"rename", &FileFaults::rename}};

TEST_F(FileFaultsTest, AFailedStoreKeepsTheOldFileAndTheNextOneStoresTheChange) {
  for (const auto& file : storedFiles()) {
    for (const auto& step : kSteps) {
      const int callsPerStore = step.fault == &FileFaults::write ? file.writesPerStore : 1;
      // Failing calls in the first store and in the second.
      for (int failing = 1; failing <= 2 * callsPerStore; ++failing) {
        for (const bool persists : {false, true}) {
          SCOPED_TRACE(file.name + ": " + step.name + " " + std::to_string(failing) +
                       (persists ? " and on" : " once"));
          startOver(file);
          fileFaults().*step.fault = {failing, persists};

          int stored = 0, change = 1;
          while (file.change(change)) {
            ASSERT_EQ(bytesOf(file.name), file.bytesAfter(change));
            stored = change++;
            ASSERT_LE(change, failing) << "the fault never struck";
          }
          EXPECT_EQ(bytesOf(file.name), file.bytesAfter(stored)) << "the old file is kept whole";
          EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name})
              << "no temporary file is left";

          if (persists) {
            EXPECT_FALSE(file.change(++change));
            EXPECT_EQ(bytesOf(file.name), file.bytesAfter(stored));
            fileFaults() = {};
          }
          // The disk works again: the next change is stored with the failed ones.
          ASSERT_TRUE(file.change(++change));
          EXPECT_EQ(bytesOf(file.name), file.bytesAfter(change));
        }
      }
    }
  }
}

TEST_F(FileFaultsTest, AReadOnlyFolderKeepsTheOldFile) {
  for (const auto& file : storedFiles()) {
    SCOPED_TRACE(file.name);
    startOver(file);
    {
      testing::ReadOnlyFolder readOnly(folder_.string());
      if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
      EXPECT_FALSE(file.change(1));
    }
    EXPECT_EQ(bytesOf(file.name), file.bytesAfter(0));
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name});
    ASSERT_TRUE(file.change(2));
    EXPECT_EQ(bytesOf(file.name), file.bytesAfter(2));
  }
}

TEST_F(FileFaultsTest, AFolderInPlaceOfTheFileIsReadAsNoFileAndLeftAlone) {
  for (const auto& file : storedFiles()) {
    SCOPED_TRACE(file.name);
    startOver(file);
    fs::remove(folder_ / file.name);
    fs::create_directory(folder_ / file.name);
    std::ofstream(folder_ / file.name / "inside") << "kept";

    file.startEmpty();
    EXPECT_TRUE(file.loadsEmpty());
    EXPECT_FALSE(file.change(1));
    EXPECT_TRUE(fs::is_directory(folder_ / file.name));
    EXPECT_EQ(bytesOf(file.name + "/inside"), "kept");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name});
  }
}

TEST_F(FileFaultsTest, AZeroLengthFileReadsAsEmptyAndIsStoredWholeAgain) {
  for (const auto& file : storedFiles()) {
    SCOPED_TRACE(file.name);
    startOver(file);
    std::ofstream(folder_ / file.name, std::ios::binary | std::ios::trunc);

    file.startEmpty();
    EXPECT_TRUE(file.loadsEmpty());
    ASSERT_TRUE(file.change(1));
    EXPECT_EQ(bytesOf(file.name), file.bytesAfter(1));
  }
}

}  // namespace
}  // namespace movarek
