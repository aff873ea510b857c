// A read-only program folder: every change stays in memory, the files keep what they held, and
// the user hears of it once per file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "addressbook/contact_store.h"
#include "addressbook/speed_dials.h"
#include "read_only_folder.h"
#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

using UnwritableFolderTest = TemporaryProgramFolder;

TEST_F(UnwritableFolderTest, FailedWritesAreToldOncePerFileAndChangesStayInMemory) {
  std::vector<std::string> told;
  const auto notice = [&told](const std::string& text, const std::string& caption) {
    told.push_back(caption + "|" + text);
  };
  ContactStore contacts(notice);
  SpeedDialStore speedDials(notice);
  contacts.AddContact("Banka", "banka@x", "");
  speedDials.SaveSpeedDials();
  const std::string contactsBefore = readFile(kContactsFile);
  const std::string speedDialsBefore = readFile(kSpeedDialsFile);
  ASSERT_TRUE(told.empty());

  {
    const ReadOnlyFolder readOnly(folder);
    if (!readOnly.refusesNewFiles()) GTEST_SKIP() << "cannot make a folder read-only here";
    contacts.AddContact("Auto", "", "");
    contacts.AddContact("Cukr", "", "");
    speedDials.table().setEntry(SpeedDialBlock::Email, 0, "nova@x");
    speedDials.SaveSpeedDials();
    speedDials.SaveSpeedDials();
  }

  const std::string where =
      " nelze uložit do složky programu " + folder + ".\nZměny platí jen do ukončení programu.";
  EXPECT_EQ(told, (std::vector<std::string>{"Chyba|Soubor kontakty.dat" + where,
                                            "Chyba|Soubor rvolby.dat" + where}));
  EXPECT_EQ(contacts.book().count(), 3);
  EXPECT_EQ(speedDials.table().entry(SpeedDialBlock::Email, 0), "nova@x");
  EXPECT_EQ(readFile(kContactsFile), contactsBefore);
  EXPECT_EQ(readFile(kSpeedDialsFile), speedDialsBefore);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2)
      << "no temporary file is left behind";

  // Once the folder takes files again, the next write stores everything kept in memory.
  contacts.SaveContacts();
  EXPECT_EQ(readFile(kContactsFile).size(), 752u);
  EXPECT_EQ(told.size(), 2u);
}

}  // namespace
}  // namespace movarek::testing
