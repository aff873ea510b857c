#include "addressbook/contact_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/cp1250.h"
#include "contact_file.h"
#include "temporary_program_folder.h"

namespace movarek::testing {
namespace {

struct Notice {
  std::string text;
  std::string caption;
};

class ContactStoreTest : public TemporaryProgramFolder {
 protected:
  ContactStore store{[this](const std::string& text, const std::string& caption) {
    notices.push_back({text, caption});
  }};
  std::vector<Notice> notices;

  void add(const std::string& name, const std::string& address = "",
           const std::string& phone = "") {
    ASSERT_TRUE(store.AddContact(utf8ToCp1250(name), utf8ToCp1250(address), utf8ToCp1250(phone)));
  }

  std::vector<std::string> names() const {
    std::vector<std::string> shown;
    for (const auto& name : store.book().names()) shown.push_back(cp1250ToUtf8(name));
    return shown;
  }
};

TEST_F(ContactStoreTest, FileHoldsTheCountAndOneRecordPerContact) {
  store.LoadContacts();
  EXPECT_EQ(store.book().count(), 0);

  add("Banka", "banka@sms.cz", "777123456");
  EXPECT_EQ(readFile(kContactsFile),
            std::string("\x01\x00", 2) + contactRecord("Banka", "banka@sms.cz", "777123456"));

  add("Auto", "a@b", "1");
  add("Cukr", "c@d", "2");
  const std::string file = readFile(kContactsFile);
  ASSERT_EQ(file.size(), 752u);
  EXPECT_EQ(file.substr(0, 2), std::string("\x03\x00", 2));
  EXPECT_EQ(file.substr(2, 250), contactRecord("Auto", "a@b", "1"));
  EXPECT_EQ(file.substr(502), contactRecord("Cukr", "c@d", "2"));
}

TEST_F(ContactStoreTest, RemovingTheOnlyContactLeavesTwoZeroBytes) {
  add("Pošta");
  store.setCurrentContact(0);
  store.RemoveContact();
  EXPECT_EQ(store.book().count(), 0);
  EXPECT_EQ(readFile(kContactsFile), std::string("\x00\x00", 2));
}

TEST_F(ContactStoreTest, NewContactTakesItsPlaceByTheBytesOfItsName) {
  struct Case {
    std::vector<std::string> stored;
    std::string added;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {{"Banka", "Cukrárna"}, "auto", {"Banka", "Cukrárna", "auto"}},
      {{"Zámečník"}, "Čistírna", {"Zámečník", "Čistírna"}},
      {{"Banka", "Cukrárna"}, "Auto", {"Auto", "Banka", "Cukrárna"}},
      {{"Banka", "Bankomat"}, "Bank", {"Bank", "Banka", "Bankomat"}},
      {{}, "", {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.added);
    std::filesystem::remove(programFile(kContactsFile));
    store.LoadContacts();  // no file: an empty book
    for (const auto& name : c.stored) add(name);
    add(c.added);
    EXPECT_EQ(names(), c.order);
  }
}

TEST_F(ContactStoreTest, SecondContactOfTheSameNameStandsDirectlyBehindTheFirst) {
  add("Banka", "1");
  add("Pošta", "first");
  add("Zoo", "3");
  add("Pošta", "second");
  ASSERT_EQ(names(), (std::vector<std::string>{"Banka", "Pošta", "Pošta", "Zoo"}));
  EXPECT_EQ(store.book().record(1).addressText(), "first");
  EXPECT_EQ(store.book().record(2).addressText(), "second");
}

TEST_F(ContactStoreTest, FullBookRefusesTheNextContactAndKeepsTheFile) {
  std::string almostFull("\xE7\x03", 2);  // 999
  for (int i = 0; i < 999; ++i) almostFull += contactRecord("Kontakt " + std::to_string(i), "", "");
  writeFile(kContactsFile, almostFull);
  store.LoadContacts();
  add("Poslední");
  EXPECT_EQ(store.book().count(), 1000);
  EXPECT_TRUE(notices.empty());
  const std::string before = readFile(kContactsFile);
  ASSERT_EQ(before.size(), 2u + 250 * 1000);

  EXPECT_FALSE(store.AddContact("Navíc", "", ""));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text,
            "Maximální kapacity 1000 kontaktů již bylo dosaženo a nelze vkládat další položky!");
  EXPECT_EQ(notices[0].caption, "Chyba");
  EXPECT_EQ(store.book().count(), 1000);
  EXPECT_EQ(readFile(kContactsFile), before);
}

TEST_F(ContactStoreTest, RenamedContactMovesToItsPlaceAndStaysCurrent) {
  add("Auto", "auto@x");
  add("Banka");
  add("Cukrárna");
  store.setCurrentContact(0);
  store.ReplaceContact("Zoo", "zoo@x", "");
  EXPECT_EQ(names(), (std::vector<std::string>{"Banka", "Cukrárna", "Zoo"}));
  EXPECT_EQ(store.book().currentContact(), 2);
  EXPECT_EQ(store.book().record(2).addressText(), "zoo@x");
  EXPECT_EQ(readFile(kContactsFile).substr(502, 3), "Zoo");
}

TEST_F(ContactStoreTest, RemovingMakesTheFirstContactCurrent) {
  add("Auto");
  add("Banka");
  add("Cukrárna");
  store.setCurrentContact(1);
  store.RemoveContact();
  EXPECT_EQ(names(), (std::vector<std::string>{"Auto", "Cukrárna"}));
  EXPECT_EQ(store.book().currentContact(), 0);
  EXPECT_EQ(readFile(kContactsFile).size(), 502u);
}

TEST_F(ContactStoreTest, LongTextsAreCutToWhatTheirFieldsKeep) {
  add(std::string(120, 'n'), std::string(120, 'a'), std::string(60, '7'));
  const std::string file = readFile(kContactsFile);
  EXPECT_EQ(file.substr(2, 250),
            contactRecord(std::string(97, 'n'), std::string(97, 'a'), std::string(47, '7')));
}

TEST_F(ContactStoreTest, DamagedFilesReadWithinTheTable) {
  struct Case {
    const char* what;
    std::string file;
    int count;
    std::vector<std::string> names;  // of the first contacts
  };
  const std::string unended = std::string(100, 'N') + std::string(100, 'A') + std::string(50, 'P');
  const Case cases[] = {
      {"count above the capacity",
       std::string("\xFF\xFF", 2) + contactRecord("A", "", ""),
       1,
       {"A"}},
      {"one byte", "\x05", 0, {}},
      {"no bytes", "", 0, {}},
      {"fields without a zero byte",
       std::string("\x01\x00", 2) + unended,
       1,
       {std::string(100, 'N')}},
      {"records cut short",
       std::string("\x03\x00", 2) + contactRecord("A", "", "") + "Bo",
       1,
       {"A"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile(kContactsFile, c.file);
    store.LoadContacts();
    EXPECT_EQ(store.book().count(), c.count);
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(store.book().record(static_cast<int>(i)).nameText(), c.names[i]);
    }
  }
  EXPECT_EQ(store.book().record(0).addressText(), "");

  writeFile(kContactsFile, std::string("\x01\x00", 2) + unended);
  store.LoadContacts();
  EXPECT_EQ(store.book().record(0).addressText(), std::string(100, 'A'));
  EXPECT_EQ(store.book().record(0).phoneText(), std::string(50, 'P'));
}

TEST_F(ContactStoreTest, OnlyTheWholeRecordsPresentAreContactsAndAreWrittenBackAsRead) {
  const std::string records[] = {contactRecord("Eva", "eva@sms.cz", "777123456"),
                                 contactRecord("Adam", "adam@sms.cz", ""),
                                 contactRecord("Cyril", "", "608111222")};
  struct Case {
    const char* what;
    std::string file;
    std::string writtenBack;
  };
  const Case cases[] = {
      {"a count of 5, two records and half a third",
       std::string("\x05\x00", 2) + records[0] + records[1] + records[2].substr(0, 125),
       std::string("\x02\x00", 2) + records[0] + records[1]},
      {"a count of 1001 and three records",
       std::string("\xE9\x03", 2) + records[0] + records[1] + records[2],
       std::string("\x03\x00", 2) + records[0] + records[1] + records[2]},
      {"a count of 2 and three records",
       std::string("\x02\x00", 2) + records[0] + records[1] + records[2],
       std::string("\x02\x00", 2) + records[0] + records[1]},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile(kContactsFile, c.file);
    store.LoadContacts();
    EXPECT_EQ(store.book().count(), static_cast<int>(c.writtenBack.size() / 250));
    store.SaveContacts();
    EXPECT_EQ(readFile(kContactsFile), c.writtenBack);
  }
}

TEST_F(ContactStoreTest, StoredContactsAreWrittenBackAsTheyWereReadUnsorted) {
  // Bytes behind the zero byte of a field, and an order that is not the name order.
  std::string zebra = contactRecord("Zebra", "z@x", "");
  zebra[50] = 'x';
  const std::string file = std::string("\x02\x00", 2) + zebra + contactRecord("Auto", "", "");
  writeFile(kContactsFile, file);
  store.LoadContacts();
  EXPECT_EQ(names(), (std::vector<std::string>{"Zebra", "Auto"}));
  store.SaveContacts();
  EXPECT_EQ(readFile(kContactsFile), file);
}

}  // namespace
}  // namespace movarek::testing
