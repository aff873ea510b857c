#include <gtest/gtest.h>

#include <optional>

#include "addressbook/address_book.h"
#include "addressbook/contact_store.h"
#include "app/program_schema.h"
#include "common/database.h"
#include "common/safe_file.h"
#include "send/message_templates.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

using Naming = ContactGroups::Naming;

class KeptInTheDatabase : public testing::TemporaryProgramFolder {
 protected:
  void SetUp() override {
    TemporaryProgramFolder::SetUp();
    database = std::make_unique<Database>(programFile("movarek.db"), programSchema());
    groups.emplace(*database);
    templates.emplace(*database);
  }

  void TearDown() override {
    fileFaults() = {};
    TemporaryProgramFolder::TearDown();
  }

  std::vector<std::string> names() {
    std::vector<std::string> found;
    const auto all = groups->all().value();
    for (const auto& group : all) found.push_back(group.name);
    return found;
  }

  std::int64_t idOf(const std::string& name) {
    const auto all = groups->all().value();
    for (const auto& group : all) {
      if (group.name == name) return group.id;
    }
    return 0;
  }

  std::vector<std::string> members(const std::string& name) {
    return groups->members(idOf(name)).value();
  }

  // Makes the book's contact with `address` the current one.
  void choose(ContactStore& contacts, const std::string& address) {
    const auto all = contacts.book().contacts();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i].address == address) contacts.setCurrentContact(static_cast<int>(i));
    }
  }

  std::unique_ptr<Database> database;
  std::optional<ContactGroups> groups;
  std::optional<MessageTemplates> templates;
};

TEST_F(KeptInTheDatabase, GroupsFollowTheirContactsByAddressAndAreNamedAsTheUserTellsNames) {
  ContactStore contacts({});
  AddressBook book(contacts);
  for (const char* address : {"a@sms.cz", "b@sms.cz", "c@sms.cz", "x@sms.cz", "y@sms.cz"}) {
    ASSERT_TRUE(contacts.AddContact(address, address, ""));
  }
  ASSERT_TRUE(contacts.AddContact("also y", "y@sms.cz", ""));
  ASSERT_EQ(groups->add(" Rodina ", {"a@sms.cz", "b@sms.cz", "c@sms.cz", "y@sms.cz"}),
            Naming::Done);
  ASSERT_EQ(groups->add("Práce", {"b@sms.cz", "x@sms.cz"}), Naming::Done);
  // Case, diacritics and the spaces around a name do not tell it from another.
  EXPECT_EQ(groups->add("RODINA", {}), Naming::Taken);
  EXPECT_EQ(groups->add("prace ", {}), Naming::Taken);
  EXPECT_EQ(groups->rename(idOf("Práce"), "Rodina"), Naming::Taken);
  EXPECT_EQ(groups->rename(idOf("Rodina"), "rodina"), Naming::Done);  // its own name
  EXPECT_EQ(groups->rename(idOf("rodina"), "Rodina"), Naming::Done);

  // b's new address is x's, whom Práce holds already: once there, in b's place in Rodina.
  choose(contacts, "b@sms.cz");
  ASSERT_EQ(groups->apply(book.replaceContact("b", "x@sms.cz", "").value()), 0);
  EXPECT_EQ(members("Rodina"),
            (std::vector<std::string>{"a@sms.cz", "x@sms.cz", "c@sms.cz", "y@sms.cz"}));
  EXPECT_EQ(members("Práce"), std::vector<std::string>{"x@sms.cz"});
  // Another contact keeps y's address in its groups; a deleted one leaves them.
  choose(contacts, "y@sms.cz");
  ASSERT_EQ(groups->apply(book.replaceContact("y", "z@sms.cz", "").value()), 0);
  choose(contacts, "a@sms.cz");
  ASSERT_EQ(groups->apply(book.removeContact().value()), 0);
  EXPECT_EQ(members("Rodina"), (std::vector<std::string>{"x@sms.cz", "c@sms.cz", "y@sms.cz"}));
  // A change of the book that could not be stored changes no group.
  fileFaults().rename = {1};
  choose(contacts, "c@sms.cz");
  EXPECT_FALSE(book.replaceContact("c", "d@sms.cz", "").has_value());
  fileFaults() = {};

  // An import joins the groups its cards name, each name once, making the missing ones.
  ImportPlan plan;
  plan.toAdd = {{"n", "n@sms.cz", ""}};
  plan.groupsOfAdded = {{"práce", "Sousedé", " SOUSEDE"}};
  ASSERT_EQ(groups->apply(book.importContacts(plan).value()), 0);
  EXPECT_EQ(names(), (std::vector<std::string>{"Práce", "Rodina", "Sousedé"}));
  EXPECT_EQ(groups->groupsByAddress().value(),
            (std::map<std::string, std::vector<std::string>>{{"c@sms.cz", {"Rodina"}},
                                                             {"n@sms.cz", {"Práce", "Sousedé"}},
                                                             {"x@sms.cz", {"Práce", "Rodina"}},
                                                             {"y@sms.cz", {"Rodina"}}}));

  ASSERT_TRUE(groups->remove(idOf("Práce")));
  EXPECT_EQ(names(), (std::vector<std::string>{"Rodina", "Sousedé"}));
  EXPECT_EQ(members("Sousedé"), std::vector<std::string>{"n@sms.cz"});
}

// A file naming groups without end makes a hundred of them; the rest are counted.
TEST_F(KeptInTheDatabase, OneChangeMakesAtMostAHundredGroups) {
  GroupChanges changes;
  for (int card = 0; card < 3; ++card) {
    GroupChanges::Joining joining{"n" + std::to_string(card) + "@sms.cz", {}};
    for (int name = 0; name < 60; ++name)
      joining.names.push_back("g" + std::to_string(name * 3 + card));
    changes.joined.push_back(joining);
  }
  changes.joined.push_back({"old@sms.cz", {"G0", "g179"}});
  EXPECT_EQ(groups->apply(changes), 80);
  EXPECT_EQ(names().size(), 100u);
  EXPECT_EQ(groups->groupsByAddress().value().at("old@sms.cz"), std::vector<std::string>{"g0"});
}

TEST_F(KeptInTheDatabase, TemplatesKeepTheUsersOrder) {
  for (const char* text : {"první", "druhá\nřádka", "třetí"}) ASSERT_TRUE(templates->add(text));
  const auto texts = [this] {
    std::vector<std::string> found;
    const auto all = templates->all().value();
    for (const auto& kept : all) found.push_back(kept.text);
    return found;
  };
  const auto first = templates->all()->front().id;
  EXPECT_TRUE(templates->move(first, 1));
  EXPECT_EQ(texts(), (std::vector<std::string>{"druhá\nřádka", "první", "třetí"}));
  EXPECT_FALSE(templates->move(templates->all()->front().id, -1));
  EXPECT_TRUE(templates->change(first, "1."));
  EXPECT_TRUE(templates->remove(templates->all()->back().id));
  EXPECT_EQ(texts(), (std::vector<std::string>{"druhá\nřádka", "1."}));

  EXPECT_EQ(templateCaption("druhá\nřádka"), "druhá");
  // Shortened between characters, never inside one.
  EXPECT_EQ(templateCaption("čččč", 3), "č…");
  EXPECT_EQ(templateCaption("abc", 3), "abc");
}

}  // namespace
}  // namespace movarek
