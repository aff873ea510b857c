// The program's data files on a failing disk: whichever step of storing a file fails, the file
// already there stays whole, no temporary file is left, and the change is stored by the next
// write that succeeds.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addressbook/contact_store.h"
#include "addressbook/speed_dials.h"
#include "app/stored_fields.h"
#include "common/program_folder.h"
#include "common/safe_file.h"
#include "read_only_folder.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

namespace fs = std::filesystem;

// One of the program's files, driven as the program drives it.
struct StoredFile {
  std::string name;
  std::function<void()> startEmpty;            // the state of a first start, in memory
  std::function<void(int)> change;             // makes change number n and stores the file
  std::function<std::string()> inMemory;       // the file as the program would write it now
  std::function<std::string(int)> bytesAfter;  // the file that holds changes 0 to n
  std::function<bool()> loadsEmpty;            // reads the file: an empty state comes back
  int writesPerStore;                          // parts written to store the file once
};

StoredFields padrFields(int n) {
  // Long enough that storing it takes several writes.
  return {"change" + std::to_string(n) + "@sms.cz; " + std::string(9000, 'x'),
          StoredFields::Oskar{n % 4, std::to_string(100000 + n), "777", "654321"}};
}

// Stored when the main window closes; each change is a new state of all its fields.
StoredFile padrDat() {
  auto fields = std::make_shared<StoredFields>();
  return {kStoredFieldsFile,
          [=] { *fields = {}; },
          [=](int n) {
            *fields = padrFields(n);
            saveStoredFields(*fields);
          },
          [=] { return storedFieldsBytes(*fields); },
          [](int n) { return storedFieldsBytes(padrFields(n)); },
          [] {
            // Nothing read leaves the fields as designed: empty.
            const auto fields = loadStoredFields();
            return !fields || (fields->emailAddresses.empty() && !fields->oskar);
          },
          3};
}

// The tests look at the files; what the user is told of a failure is tested elsewhere.
void ignoreNotice(const std::string&, const std::string&) {}

// Change 0 is a book of 20 contacts, which takes two writes; each later change adds one.
void addContacts(int n, const std::function<void(const std::string&)>& add) {
  const int first = n == 0 ? 0 : 19 + n;
  const int last = n == 0 ? 19 : 19 + n;
  for (int i = first; i <= last; ++i) add("Kontakt " + std::to_string(100 + i));
}

StoredFile kontaktyDat() {
  auto store = std::make_shared<std::unique_ptr<ContactStore>>();
  return {kContactsFile,
          [=] { *store = std::make_unique<ContactStore>(ignoreNotice); },
          [=](int n) {
            addContacts(n, [&](const std::string& name) {
              (*store)->AddContact(name, name + "@sms.cz", "777123456");
            });
          },
          [=] { return (*store)->book().fileBytes(); },
          [](int n) {
            ContactBook book;
            for (int i = 0; i <= n; ++i) {
              addContacts(i, [&](const std::string& name) {
                book.add(name, name + "@sms.cz", "777123456");
              });
            }
            return book.fileBytes();
          },
          [=] {
            ContactStore loaded(ignoreNotice);
            loaded.LoadContacts();
            return loaded.book().count() == 0;
          },
          2};
}

void setSpeedDial(SpeedDialTable& table, int n) {
  table.setEntry(n % 2 ? SpeedDialBlock::Oskar : SpeedDialBlock::Email, n % 4,
                 "77700000" + std::to_string(n));
}

StoredFile rvolbyDat() {
  auto store = std::make_shared<std::unique_ptr<SpeedDialStore>>();
  return {kSpeedDialsFile,
          [=] { *store = std::make_unique<SpeedDialStore>(ignoreNotice); },
          [=](int n) {
            setSpeedDial((*store)->table(), n);
            (*store)->SaveSpeedDials();
          },
          [=] { return (*store)->table().fileBytes(); },
          [](int n) {
            SpeedDialTable table;
            for (int i = 0; i <= n; ++i) setSpeedDial(table, i);
            return table.fileBytes();
          },
          [=] {
            SpeedDialStore loaded(ignoreNotice);
            loaded.LoadSpeedDials();
            return loaded.table().fileBytes() == std::string(SpeedDialTable::kFileSize, '\0');
          },
          1};
}

std::vector<StoredFile> storedFiles() { return {padrDat(), kontaktyDat(), rvolbyDat()}; }

class FileFaultsTest : public testing::TemporaryProgramFolder {
 protected:
  void SetUp() override {
    TemporaryProgramFolder::SetUp();
    folder_ = folder;
    fileFaults() = {};
  }
  void TearDown() override {
    fileFaults() = {};
    fs::remove_all(elsewhere());
    TemporaryProgramFolder::TearDown();
  }

  // Another folder, such as a synced one, that the user's links point into.
  fs::path elsewhere() const { return folder_.string() + "-elsewhere"; }

  std::vector<std::string> filesIn(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // Starts over on an empty folder with the file of change 0 stored.
  void startOver(const StoredFile& file) {
    fileFaults() = {};
    for (const auto& entry : fs::directory_iterator(folder_)) fs::remove_all(entry.path());
    file.startEmpty();
    file.change(0);
    ASSERT_TRUE(stored(file));
  }

  // The file holds what the program holds in memory.
  bool stored(const StoredFile& file) const { return readFile(file.name) == file.inMemory(); }

  std::vector<std::string> filesInFolder() const { return filesIn(folder_); }

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

          int lastStored = 0, change = 1;
          for (;; lastStored = change++) {
            ASSERT_LE(change, failing) << "the fault never struck";
            file.change(change);
            EXPECT_EQ(file.inMemory(), file.bytesAfter(change)) << "the change is kept in memory";
            if (!stored(file)) break;
          }
          EXPECT_EQ(readFile(file.name), file.bytesAfter(lastStored))
              << "the old file is kept whole";
          EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name})
              << "no temporary file is left";

          if (persists) {
            file.change(++change);
            EXPECT_EQ(readFile(file.name), file.bytesAfter(lastStored));
            fileFaults() = {};
          }
          // The disk works again: the next change is stored with the failed ones.
          file.change(++change);
          EXPECT_EQ(readFile(file.name), file.bytesAfter(change));
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
      file.change(1);
    }
    EXPECT_EQ(readFile(file.name), file.bytesAfter(0));
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name});
    file.change(2);
    EXPECT_EQ(readFile(file.name), file.bytesAfter(2));
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
    file.change(1);
    EXPECT_TRUE(fs::is_directory(folder_ / file.name));
    EXPECT_EQ(readFile(file.name + "/inside"), "kept");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{file.name});
  }
}

TEST_F(FileFaultsTest, APipeInPlaceOfTheFileIsReadAsNoFileAndReplacedByTheNextStore) {
  for (const auto& file : storedFiles()) {
    SCOPED_TRACE(file.name);
    startOver(file);
    fs::remove(folder_ / file.name);
    const auto pipe = (folder_ / file.name).string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);

    file.startEmpty();
    // Opening a pipe waits for a writer that never comes, unless the reader takes care.
    auto reading = std::async(std::launch::async, [&] { return file.loadsEmpty(); });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
      ADD_FAILURE() << "reading waits on the pipe";
      ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
    }
    EXPECT_TRUE(reading.get());
    file.change(1);
    EXPECT_TRUE(stored(file));
  }
}

TEST_F(FileFaultsTest, AZeroLengthFileReadsAsEmptyAndIsStoredWholeAgain) {
  for (const auto& file : storedFiles()) {
    SCOPED_TRACE(file.name);
    startOver(file);
    std::ofstream(folder_ / file.name, std::ios::binary | std::ios::trunc);

    file.startEmpty();
    EXPECT_TRUE(file.loadsEmpty());
    file.change(1);
    EXPECT_TRUE(stored(file));
  }
}

TEST_F(FileFaultsTest, ALinkInPlaceOfTheFileStaysALinkAndTheFileItPointsToIsReplaced) {
  enum class Link { ToAFile, ToAMissingFile, InAReadOnlyFolder };
  for (const auto& file : storedFiles()) {
    for (const Link link : {Link::ToAFile, Link::ToAMissingFile, Link::InAReadOnlyFolder}) {
      SCOPED_TRACE(file.name + " link " + std::to_string(static_cast<int>(link)));
      startOver(file);
      fs::create_directories(elsewhere());
      const fs::path target = elsewhere() / ("synced-" + file.name);
      if (link != Link::ToAMissingFile) fs::rename(folder_ / file.name, target);
      fs::remove(folder_ / file.name);
      fs::create_symlink(target, folder_ / file.name);
      {
        std::unique_ptr<testing::ReadOnlyFolder> readOnly;
        if (link == Link::InAReadOnlyFolder) {
          readOnly = std::make_unique<testing::ReadOnlyFolder>(folder_.string());
          if (!readOnly->refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
        }
        file.change(1);
      }
      EXPECT_TRUE(fs::is_symlink(folder_ / file.name));
      EXPECT_EQ(readFile(file.name), file.bytesAfter(1));
      EXPECT_EQ(filesIn(elsewhere()), std::vector<std::string>{target.filename().string()})
          << "no temporary file is left beside the target";
      fs::remove_all(elsewhere());
    }
  }
}

TEST_F(FileFaultsTest, OnlyTheProgramsOwnLeftoversAreRemoved) {
  fs::create_directories(elsewhere());
  std::vector<std::string> kept = {"napoveda.rtf", ".other.dat.sms-movarek-Ab12Cd"};
  for (const auto& file : storedFiles()) {
    const std::string leftover = "." + file.name + ".sms-movarek-";
    for (const std::string& half : {leftover + "Ab12Cd", leftover + "000000"}) {
      std::ofstream(folder_ / half) << "half written";
    }
    // The user's own copies, whatever their names.
    for (const std::string& users :
         {file.name, file.name + ".bak", file.name + ".zaloha", file.name + ".kopie1",
          file.name + ".Ab12Cd", "." + file.name + ".Ab12Cd", leftover + "Ab12Cde",
          leftover + "Ab12C", leftover + "Ab-2Cd", file.name + ".sms-movarek-Ab12Cd"}) {
      std::ofstream(folder_ / users) << "the user's";
      kept.push_back(users);
    }
    fs::create_directory(folder_ / (leftover + "Fold01"));
    fs::create_symlink(folder_ / file.name, folder_ / (leftover + "Link01"));
    kept.insert(kept.end(), {leftover + "Fold01", leftover + "Link01"});
  }
  for (const auto& name : kept) {
    if (!fs::exists(fs::symlink_status(folder_ / name))) std::ofstream(folder_ / name) << "x";
  }
  // A linked file's leftovers are beside the file it points to.
  fs::remove(folder_ / kContactsFile);
  fs::create_symlink(elsewhere() / kContactsFile, folder_ / kContactsFile);
  std::ofstream(elsewhere() / ("." + std::string(kContactsFile) + ".sms-movarek-Zz9Yy8"))
      << "half written";

  for (const auto& file : storedFiles()) removeLeftovers(dataFile(file.name));

  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(filesInFolder(), kept);
  EXPECT_TRUE(filesIn(elsewhere()).empty());
}

}  // namespace
}  // namespace movarek
