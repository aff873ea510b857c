#include "addressbook/contact_groups.h"

#include <sqlite3.h>

#include <set>

#include "common/database.h"
#include "common/search_fold.h"

namespace movarek {
namespace {

void addMembers(sqlite3* connection, std::int64_t group,
                const std::vector<std::string>& addresses) {
  Statement member(connection,
                   "INSERT OR IGNORE INTO group_member (group_id, address) VALUES (?1, ?2)");
  for (const auto& address : addresses) member.bind(1, group).bind(2, address).run();
}

std::optional<std::int64_t> groupKeyed(sqlite3* connection, std::string_view name) {
  Statement query(connection, "SELECT id FROM contact_group WHERE name_key = ?1");
  if (query.bind(1, groupNameKey(name)).step()) return query.integer(0);
  return std::nullopt;
}

std::int64_t made(sqlite3* connection, std::string_view name) {
  Statement(connection, "INSERT INTO contact_group (name, name_key) VALUES (?1, ?2)")
      .bind(1, trimmedGroupName(name))
      .bind(2, groupNameKey(name))
      .run();
  return sqlite3_last_insert_rowid(connection);
}

void move(sqlite3* connection, const GroupChanges::Move& moved) {
  if (!moved.after.empty()) {
    // A group that has the new address already keeps it once.
    Statement(connection, "UPDATE OR IGNORE group_member SET address = ?2 WHERE address = ?1")
        .bind(1, moved.before)
        .bind(2, moved.after)
        .run();
  }
  Statement(connection, "DELETE FROM group_member WHERE address = ?1").bind(1, moved.before).run();
}

}  // namespace

ContactGroup groupAt(const Statement& row) { return {row.integer(0), row.text(1)}; }

std::string trimmedGroupName(std::string_view name) {
  constexpr std::string_view kSpaces = " \t\r\n";
  const auto first = name.find_first_not_of(kSpaces);
  if (first == std::string_view::npos) return {};
  return std::string(name.substr(first, name.find_last_not_of(kSpaces) - first + 1));
}

std::string groupNameKey(std::string_view name) { return foldedForSearch(trimmedGroupName(name)); }

ContactGroups::ContactGroups(Database& database) : database_(database) {}

std::optional<std::vector<ContactGroup>> ContactGroups::all() {
  return database_.rows("SELECT id, name FROM contact_group ORDER BY name_key, id", groupAt);
}

std::optional<std::vector<std::string>> ContactGroups::members(std::int64_t id) {
  return database_.rows(
      "SELECT address FROM group_member WHERE group_id = ?1 ORDER BY position",
      [](const Statement& row) { return row.text(0); }, id);
}

ContactGroups::Naming ContactGroups::add(std::string_view name,
                                         const std::vector<std::string>& addresses) {
  Naming naming = Naming::Done;
  const bool written = database_.use([&](sqlite3* connection) {
    Transaction adding(connection);
    if (groupKeyed(connection, name)) {
      naming = Naming::Taken;
      return;
    }
    addMembers(connection, made(connection, name), addresses);
    adding.commit();
  });
  return written ? naming : Naming::Failed;
}

ContactGroups::Naming ContactGroups::rename(std::int64_t id, std::string_view name) {
  Naming naming = Naming::Done;
  const bool written = database_.use([&](sqlite3* connection) {
    Transaction renaming(connection);
    const auto holder = groupKeyed(connection, name);
    if (holder && *holder != id) {
      naming = Naming::Taken;
      return;
    }
    Statement(connection, "UPDATE contact_group SET name = ?2, name_key = ?3 WHERE id = ?1")
        .bind(1, id)
        .bind(2, trimmedGroupName(name))
        .bind(3, groupNameKey(name))
        .run();
    renaming.commit();
  });
  return written ? naming : Naming::Failed;
}

bool ContactGroups::remove(std::int64_t id) {
  return database_.run("DELETE FROM contact_group WHERE id = ?1", id);
}

std::optional<int> ContactGroups::apply(const GroupChanges& changes) {
  std::set<std::string> leftUnmade;
  const bool written = database_.use([&](sqlite3* connection) {
    Transaction change(connection);
    for (const auto& moved : changes.moved) move(connection, moved);
    int madeNow = 0;
    for (const auto& joining : changes.joined) {
      for (const auto& name : joining.names) {
        auto group = groupKeyed(connection, name);
        if (!group && madeNow < kMostNewGroups && !groupNameKey(name).empty()) {
          group = made(connection, name);
          ++madeNow;
        }
        if (group) {
          addMembers(connection, *group, {joining.address});
        } else if (!groupNameKey(name).empty()) {
          leftUnmade.insert(groupNameKey(name));
        }
      }
    }
    change.commit();
  });
  if (!written) return std::nullopt;
  return static_cast<int>(leftUnmade.size());
}

std::optional<std::map<std::string, std::vector<std::string>>> ContactGroups::groupsByAddress() {
  const auto memberships = database_.rows(
      "SELECT m.address, g.name FROM contact_group g JOIN group_member m "
      "ON m.group_id = g.id ORDER BY g.name_key, g.id",
      [](const Statement& row) { return std::pair(row.text(0), row.text(1)); });
  if (!memberships) return std::nullopt;
  std::map<std::string, std::vector<std::string>> groups;
  for (const auto& [address, group] : *memberships) groups[address].push_back(group);
  return groups;
}

}  // namespace movarek
