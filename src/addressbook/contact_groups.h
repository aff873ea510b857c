#pragma once
// Contact groups, kept in the program's database beside the address book: a group is a name
// and the addresses of its members, so that it follows its contacts by their addresses whatever
// their place in kontakty.dat. Texts are UTF-8, as the user typed them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

class Database;

struct ContactGroup {
  std::int64_t id = 0;
  std::string name;
};

class ContactGroups {
 public:
  // The tables, as a schema version of the database.
  static const std::string_view kSchema;

  explicit ContactGroups(Database& database);

  // Every group, by name.
  std::vector<ContactGroup> all();
  // The addresses of a group's members, in the order they joined.
  std::vector<std::string> members(std::int64_t id);
  // Whether a group has this name already, case ignored.
  bool nameTaken(std::string_view name, std::int64_t except = 0);

  bool add(std::string_view name, const std::vector<std::string>& addresses);
  bool rename(std::int64_t id, std::string_view name);
  bool remove(std::int64_t id);

  // A contact's address changed: its groups follow it. An empty address leaves them.
  bool addressChanged(std::string_view before, std::string_view after);
  bool contactRemoved(std::string_view address);
  // Puts `address` into the groups `names`, making those that are missing.
  bool join(std::string_view address, const std::vector<std::string>& names);
  // The names of the groups `address` belongs to, by name.
  std::vector<std::string> groupsOf(std::string_view address);

 private:
  Database& database_;
};

}  // namespace movarek
