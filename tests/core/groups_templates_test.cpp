#include <gtest/gtest.h>

#include <optional>

#include "app/program_schema.h"
#include "common/database.h"
#include "temporary_program_folder.h"

namespace movarek {
namespace {

class KeptInTheDatabase : public testing::TemporaryProgramFolder {
 protected:
  void SetUp() override {
    TemporaryProgramFolder::SetUp();
    database = std::make_unique<Database>(programFile("movarek.db"), programSchema());
    groups.emplace(*database);
    templates.emplace(*database);
  }

  std::vector<std::string> names() {
    std::vector<std::string> found;
    for (const auto& group : groups->all()) found.push_back(group.name);
    return found;
  }

  std::int64_t idOf(const std::string& name) {
    for (const auto& group : groups->all()) {
      if (group.name == name) return group.id;
    }
    return 0;
  }

  std::unique_ptr<Database> database;
  std::optional<ContactGroups> groups;
  std::optional<MessageTemplates> templates;
};

TEST_F(KeptInTheDatabase, GroupsFollowTheirContactsByAddress) {
  ASSERT_TRUE(groups->add("Rodina", {"a@sms.cz", "b@sms.cz", "c@sms.cz"}));
  ASSERT_TRUE(groups->add("Práce", {"b@sms.cz", "x@sms.cz"}));
  EXPECT_TRUE(groups->nameTaken("RODINA"));
  EXPECT_TRUE(groups->nameTaken("prace"));
  EXPECT_FALSE(groups->nameTaken("Rodina", idOf("Rodina")));  // its own name, when renamed

  // b's new address is x's, whom Práce holds already: once there, in b's place in Rodina.
  ASSERT_TRUE(groups->addressChanged("b@sms.cz", "x@sms.cz"));
  EXPECT_EQ(groups->members(idOf("Rodina")),
            (std::vector<std::string>{"a@sms.cz", "x@sms.cz", "c@sms.cz"}));
  EXPECT_EQ(groups->members(idOf("Práce")), std::vector<std::string>{"x@sms.cz"});
  ASSERT_TRUE(groups->contactRemoved("a@sms.cz"));
  ASSERT_TRUE(groups->join("n@sms.cz", {"Práce", "Sousedé"}));
  EXPECT_EQ(names(), (std::vector<std::string>{"Práce", "Rodina", "Sousedé"}));
  EXPECT_EQ(groups->groupsOf("n@sms.cz"), (std::vector<std::string>{"Práce", "Sousedé"}));
  EXPECT_EQ(groups->groupsOf("x@sms.cz"), (std::vector<std::string>{"Práce", "Rodina"}));

  ASSERT_TRUE(groups->rename(idOf("Rodina"), "Rodina Nováků"));
  ASSERT_TRUE(groups->remove(idOf("Práce")));
  EXPECT_EQ(names(), (std::vector<std::string>{"Rodina Nováků", "Sousedé"}));
  EXPECT_EQ(groups->groupsOf("x@sms.cz"), std::vector<std::string>{"Rodina Nováků"});
  EXPECT_FALSE(groups->add("Sousedé", {}));  // a name is one group's
}

TEST_F(KeptInTheDatabase, TemplatesKeepTheUsersOrder) {
  for (const char* text : {"první", "druhá\nřádka", "třetí"}) ASSERT_TRUE(templates->add(text));
  const auto texts = [this] {
    std::vector<std::string> found;
    for (const auto& kept : templates->all()) found.push_back(kept.text);
    return found;
  };
  const auto first = templates->all().front().id;
  EXPECT_TRUE(templates->move(first, 1));
  EXPECT_EQ(texts(), (std::vector<std::string>{"druhá\nřádka", "první", "třetí"}));
  EXPECT_FALSE(templates->move(templates->all().front().id, -1));
  EXPECT_TRUE(templates->change(first, "1."));
  EXPECT_TRUE(templates->remove(templates->all().back().id));
  EXPECT_EQ(texts(), (std::vector<std::string>{"druhá\nřádka", "1."}));
  EXPECT_TRUE(templates->holds("1."));
  EXPECT_FALSE(templates->holds("první"));

  EXPECT_EQ(templateCaption("druhá\nřádka"), "druhá");
  // Shortened between characters, never inside one.
  EXPECT_EQ(templateCaption("čččč", 3), "č…");
  EXPECT_EQ(templateCaption("abc", 3), "abc");
}

}  // namespace
}  // namespace movarek
