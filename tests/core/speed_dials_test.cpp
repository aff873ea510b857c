#include "addressbook/speed_dials.h"

#include <gtest/gtest.h>

#include <string>

#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

using Block = SpeedDialBlock;

class SpeedDialsTest : public TemporaryProgramFolder {
 protected:
  SpeedDialStore store{[](const std::string&, const std::string&) {}};

  std::string entry(Block block, int index) const { return store.table().entry(block, index); }
};

// Eight entries "E1".."E4", "O1".."O4", each followed by a zero byte and then filler bytes,
// and bytes past the table.
std::string fullFile() {
  std::string bytes;
  for (const char* text : {"E1", "E2", "E3", "E4", "O1", "O2", "O3", "O4"}) {
    std::string entry = text;
    entry += '\0';
    entry.resize(200, '#');
    bytes += entry;
  }
  return bytes + "past the table";
}

TEST_F(SpeedDialsTest, FileSizeDecidesWhichBlocksAreRead) {
  struct Case {
    std::size_t size;
    const char* email1;
    const char* email4;
    const char* oskar1;
    const char* oskar4;
  };
  const Case cases[] = {
      {0, "", "", "", ""},           {1, "E", "", "", ""},           {401, "E1", "", "", ""},
      {800, "E1", "E4", "", ""},     {802, "E1", "E4", "", ""},      {803, "E1", "E4", "O1", ""},
      {1401, "E1", "E4", "O1", "O"}, {1600, "E1", "E4", "O1", "O4"}, {1614, "E1", "E4", "O1", "O4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    writeFile(kSpeedDialsFile, fullFile().substr(0, c.size));
    store.LoadSpeedDials();
    EXPECT_EQ(entry(Block::Email, 0), c.email1);
    EXPECT_EQ(entry(Block::Email, 3), c.email4);
    EXPECT_EQ(entry(Block::Oskar, 0), c.oskar1);
    EXPECT_EQ(entry(Block::Oskar, 3), c.oskar4);
  }
}

TEST_F(SpeedDialsTest, MissingFileGivesEmptyEntriesAndSavingWritesAllOfThem) {
  store.LoadSpeedDials();
  EXPECT_EQ(entry(Block::Email, 0), "");
  store.table().setEntry(Block::Oskar, 3, "777123456");
  store.SaveSpeedDials();
  const std::string file = readFile(kSpeedDialsFile);
  ASSERT_EQ(file.size(), 1600u);
  EXPECT_EQ(file.substr(1400, 10), std::string("777123456\0", 10));
  EXPECT_EQ(file.find_first_not_of('\0', 1410), std::string::npos);
}

TEST_F(SpeedDialsTest, LongEntryIsCutTo197Characters) {
  store.LoadSpeedDials();
  store.table().setEntry(Block::Email, 1, std::string(250, 'x'));
  EXPECT_EQ(entry(Block::Email, 1), std::string(197, 'x'));
  store.SaveSpeedDials();
  EXPECT_EQ(readFile(kSpeedDialsFile).substr(200, 200),
            std::string(197, 'x') + std::string(3, '\0'));
}

TEST_F(SpeedDialsTest, ShorterEntryKeepsTheOldBytesBehindItsEnd) {
  writeFile(kSpeedDialsFile, fullFile().substr(0, 1600));
  store.LoadSpeedDials();
  store.table().setEntry(Block::Email, 0, "a");
  store.table().setEntry(Block::Oskar, 0, std::string(5, 'o'));
  store.SaveSpeedDials();

  std::string expected = fullFile().substr(0, 1600);
  expected.replace(0, 2, std::string("a\0", 2));
  expected.replace(800, 6, std::string("ooooo\0", 6));
  EXPECT_EQ(readFile(kSpeedDialsFile), expected);
  EXPECT_EQ(entry(Block::Email, 0), "a");
}

TEST_F(SpeedDialsTest, EntryWithoutZeroByteEndsAtItsWidth) {
  writeFile(kSpeedDialsFile, std::string(200, 'a') + std::string(200, 'b'));
  store.LoadSpeedDials();
  EXPECT_EQ(entry(Block::Email, 0), std::string(200, 'a'));
  EXPECT_EQ(entry(Block::Email, 1), std::string(200, 'b'));
}

}  // namespace
}  // namespace movarek::testing
