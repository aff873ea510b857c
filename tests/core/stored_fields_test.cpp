#include "app/stored_fields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/program_folder.h"
#include "read_only_folder.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

std::string oskarPart(char prefix, const std::string& number, const std::string& senderPrefix,
                      const std::string& sender) {
  std::string bytes(1, prefix);
  bytes += number + std::string(6 - number.size(), '\0');
  bytes += senderPrefix + std::string(3 - senderPrefix.size(), '\0');
  bytes += sender + std::string(6 - sender.size(), '\0');
  return bytes;
}

TEST(StoredFields, BytesAsWritten) {
  StoredFields fields{"jan@sms.cz", StoredFields::Oskar{2, "1234567", "7777", "1234567"}};
  const auto bytes = storedFieldsBytes(fields);
  ASSERT_EQ(bytes.size(), 10016u);
  EXPECT_EQ(bytes.substr(0, 10), "jan@sms.cz");
  EXPECT_EQ(bytes.substr(10, 9990), std::string(9990, '\0'));
  // Each Oskar field keeps only its first 6, 3 and 6 bytes.
  EXPECT_EQ(bytes.substr(10000), std::string("\x02") + "123456" + "777" + "123456");
}

TEST(StoredFields, NoSelectionIsStoredAs255AndEmptyFieldsAsZeros) {
  StoredFields fields{"", StoredFields::Oskar{-1, "", "", ""}};
  EXPECT_EQ(storedFieldsBytes(fields).substr(10000), oskarPart('\xFF', "", "", ""));
}

TEST(StoredFields, AddressIsCutTo9999BytesAndKeepsAZeroInItsBlock) {
  const auto bytes = storedFieldsBytes({std::string(12000, 'a'), std::nullopt});
  EXPECT_EQ(bytes.substr(0, 9999), std::string(9999, 'a'));
  EXPECT_EQ(bytes[9999], '\0');
  EXPECT_EQ(parseStoredFields(bytes).emailAddresses, std::string(9999, 'a'));
}

TEST(StoredFields, RoundTrip) {
  const StoredFields fields{"a@b.cz; c@d.cz; ", StoredFields::Oskar{3, "123456", "777", "654321"}};
  const auto back = parseStoredFields(storedFieldsBytes(fields));
  EXPECT_EQ(back.emailAddresses, fields.emailAddresses);
  ASSERT_TRUE(back.oskar);
  EXPECT_EQ(back.oskar->prefixIndex, 3);
  EXPECT_EQ(back.oskar->number, "123456");
  EXPECT_EQ(back.oskar->senderPrefix, "777");
  EXPECT_EQ(back.oskar->sender, "654321");
}

TEST(StoredFields, ReadingFilesOfEverySize) {
  const std::string block = "x@y.cz" + std::string(9994, '\0');
  const std::string full = block + oskarPart('\x01', "123456", "608", "987654");
  struct Case {
    std::string bytes;
    std::string address;
    bool hasOskar;
    int prefix;
    std::string number;
    std::string sender;
  };
  const std::vector<Case> cases = {
      {"", "", false, 0, "", ""},
      {"short@x", "short@x", false, 0, "", ""},
      {full.substr(0, 10000), "x@y.cz", false, 0, "", ""},
      {full.substr(0, 10001), "x@y.cz", false, 0, "", ""},
      {full.substr(0, 10002), "x@y.cz", false, 0, "", ""},
      // Three bytes behind the block are enough; the rest of the record reads as zeros.
      {full.substr(0, 10003), "x@y.cz", true, 1, "12", ""},
      {full, "x@y.cz", true, 1, "123456", "987654"},
      {full + "trailing bytes", "x@y.cz", true, 1, "123456", "987654"},
      // No zero byte anywhere: every field ends at its width.
      {std::string(10016, 'z'), std::string(10000, 'z'), true, 'z', "zzzzzz", "zzzzzz"},
  };
  for (const auto& c : cases) {
    const auto fields = parseStoredFields(c.bytes);
    EXPECT_EQ(fields.emailAddresses, c.address) << c.bytes.size();
    ASSERT_EQ(fields.oskar.has_value(), c.hasOskar) << c.bytes.size();
    if (!c.hasOskar) continue;
    EXPECT_EQ(fields.oskar->prefixIndex, c.prefix) << c.bytes.size();
    EXPECT_EQ(fields.oskar->number, c.number) << c.bytes.size();
    EXPECT_EQ(fields.oskar->sender, c.sender) << c.bytes.size();
  }
}

class StoredFieldsFileTest : public testing::TemporaryProgramFolder {
 protected:
  std::string fileBytes() const { return readFile("padr.dat"); }
};

TEST_F(StoredFieldsFileTest, MissingFileGivesNothingAndSavingWritesIt) {
  EXPECT_FALSE(loadStoredFields());
  const StoredFields fields{"a@b", StoredFields::Oskar{0, "1", "2", "3"}};
  ASSERT_TRUE(saveStoredFields(fields));
  EXPECT_EQ(fileBytes(), storedFieldsBytes(fields));
  EXPECT_EQ(loadStoredFields()->emailAddresses, "a@b");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
      << "no temporary file is left behind";
}

TEST_F(StoredFieldsFileTest, UnwritableFolderKeepsTheOldFile) {
  const StoredFields old{"old@x", std::nullopt};
  ASSERT_TRUE(saveStoredFields(old));
  {
    testing::ReadOnlyFolder readOnly(folder);
    if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_FALSE(saveStoredFields({"new@x", std::nullopt}));
  }
  EXPECT_EQ(fileBytes(), storedFieldsBytes(old));
}

}  // namespace
}  // namespace movarek
