#include "rtf/rtf_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "common/program_folder.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

namespace fs = std::filesystem;

class RtfFileTest : public testing::TemporaryProgramFolder {
 protected:
  void SetUp() override {
    TemporaryProgramFolder::SetUp();
    folder_ = folder;
  }

  fs::path folder_;
};

TEST_F(RtfFileTest, AFileThatCannotBeReadRaisesTheFileError) {
  fs::create_directory(folder_ / "slozka.rtf");
  for (const std::string name : {"napoveda.rtf", "slozka.rtf"}) {
    try {
      loadRtfFile(name);
      ADD_FAILURE() << name << " was read";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + name);
    }
  }
}

TEST_F(RtfFileTest, ReadsTheFileOfTheProgramFolder) {
  std::ofstream(folder_ / "napoveda.rtf", std::ios::binary) << R"({\rtf1\ansicpg1250 \'e8au})";
  const auto document = loadRtfFile("napoveda.rtf");
  ASSERT_EQ(document.paragraphs.size(), 1u);
  ASSERT_EQ(document.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(document.paragraphs[0].runs[0].text, "čau");
}

TEST_F(RtfFileTest, AnInstalledProgramReadsTheSharedDocumentUnlessItsFolderHasOne) {
  fs::create_directories(folder_ / "bin");
  fs::create_directories(folder_ / "share/sms-movarek");
  setProgramFolder((folder_ / "bin").string());
  std::ofstream(folder_ / "share/sms-movarek/napoveda.rtf", std::ios::binary)
      << R"({\rtf1 shared})";
  EXPECT_EQ(loadRtfFile("napoveda.rtf").paragraphs.at(0).runs.at(0).text, "shared");
  std::ofstream(folder_ / "bin/napoveda.rtf", std::ios::binary) << R"({\rtf1 beside})";
  EXPECT_EQ(loadRtfFile("napoveda.rtf").paragraphs.at(0).runs.at(0).text, "beside");
}

// The help document that the build puts next to the program.
TEST(ShippedHelpDocument, HasABoldHeadingForEveryTopicAndNoStrayMarkup) {
  const auto document = loadRtfFile("napoveda.rtf");
  std::set<std::string> headings;
  for (const auto& paragraph : document.paragraphs) {
    std::string text;
    bool bold = !paragraph.runs.empty();
    for (const auto& run : paragraph.runs) {
      text += run.text;
      bold = bold && run.format.bold;
      EXPECT_EQ(run.text.find_first_of("\\{}"), std::string::npos) << run.text;
    }
    if (bold) headings.insert(text);
  }
  for (const std::string heading :
       {"Stránka „SMS E-mail“", "Stránka „Oskar“", "Stránka „Eurotel“",
        "Jak zjistit mobilní e-mailovou adresu telefonu", "Počítadlo délky zprávy", "Kontakty",
        "Rychlé volby", "Proč program nejde hned po odeslání zavřít"}) {
    EXPECT_TRUE(headings.contains(heading)) << heading;
  }
}

}  // namespace
}  // namespace movarek
