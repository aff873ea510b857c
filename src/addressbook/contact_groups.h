#pragma once
// Contact groups, kept in the program's database beside the address book: a group is a name
// and the addresses of its members, so that it follows its contacts by their addresses whatever
// their place in kontakty.dat. Texts are UTF-8, as the user typed them; two names that differ
// only in case, diacritics or spaces around them are one name.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

class Database;
class Statement;

struct ContactGroup {
  std::int64_t id = 0;
  std::string name;
};

// The group a row of its id and name stands for.
ContactGroup groupAt(const Statement& row);

// A name as it is kept: without the spaces around it.
std::string trimmedGroupName(std::string_view name);
// What tells names apart: trimmed, case and diacritics folded.
std::string groupNameKey(std::string_view name);

// What the groups do to follow a change of the address book, all in one.
struct GroupChanges {
  struct Move {
    std::string before;
    std::string after;  // empty: the contact left the book
  };
  struct Joining {
    std::string address;
    std::vector<std::string> names;  // made when missing
  };
  std::vector<Move> moved;
  std::vector<Joining> joined;

  bool empty() const { return moved.empty() && joined.empty(); }
};

class ContactGroups {
 public:
  // The most groups one change of the book makes (an import naming more is cut short there).
  static constexpr int kMostNewGroups = 100;

  explicit ContactGroups(Database& database);

  // Every group, by name, without its members; nothing when they cannot be read.
  std::optional<std::vector<ContactGroup>> all();
  // The addresses of a group's members, in the order they joined.
  std::optional<std::vector<std::string>> members(std::int64_t id);

  enum class Naming { Done, Taken, Failed };
  Naming add(std::string_view name, const std::vector<std::string>& addresses);
  Naming rename(std::int64_t id, std::string_view name);
  bool remove(std::int64_t id);

  // Applies the changes in one transaction: how many new groups were left unmade beyond the
  // most one change makes; nothing when nothing could be written.
  std::optional<int> apply(const GroupChanges& changes);
  // The names of the groups of each address that is in any, by name.
  std::optional<std::map<std::string, std::vector<std::string>>> groupsByAddress();

 private:
  Database& database_;
};

}  // namespace movarek
