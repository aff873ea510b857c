#include "addressbook/contact_groups.h"

#include <sqlite3.h>

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

std::int64_t groupNamed(sqlite3* connection, std::string_view name) {
  Statement query(connection, "SELECT id FROM contact_group WHERE name = ?1");
  if (query.bind(1, name).step()) return query.integer(0);
  Statement(connection, "INSERT INTO contact_group (name) VALUES (?1)").bind(1, name).run();
  return sqlite3_last_insert_rowid(connection);
}

}  // namespace

const std::string_view ContactGroups::kSchema = R"(
CREATE TABLE contact_group (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE
);
CREATE TABLE group_member (
  group_id INTEGER NOT NULL REFERENCES contact_group (id) ON DELETE CASCADE,
  address TEXT NOT NULL,
  position INTEGER PRIMARY KEY
);
CREATE UNIQUE INDEX group_member_once ON group_member (group_id, address);
CREATE INDEX group_member_address ON group_member (address);
)";

ContactGroups::ContactGroups(Database& database) : database_(database) {}

std::vector<ContactGroup> ContactGroups::all() {
  std::vector<ContactGroup> groups;
  database_.read([&](sqlite3* connection) {
    Statement query(connection, "SELECT id, name FROM contact_group ORDER BY name, id");
    while (query.step()) groups.push_back({query.integer(0), query.text(1)});
  });
  return groups;
}

std::vector<std::string> ContactGroups::members(std::int64_t id) {
  std::vector<std::string> addresses;
  database_.read([&](sqlite3* connection) {
    Statement query(connection,
                    "SELECT address FROM group_member WHERE group_id = ?1 ORDER BY position");
    query.bind(1, id);
    while (query.step()) addresses.push_back(query.text(0));
  });
  return addresses;
}

bool ContactGroups::nameTaken(std::string_view name, std::int64_t except) {
  const std::string folded = foldedForSearch(name);
  bool taken = false;
  database_.read([&](sqlite3* connection) {
    Statement query(connection, "SELECT id, name FROM contact_group");
    while (!taken && query.step()) {
      taken = query.integer(0) != except && foldedForSearch(query.text(1)) == folded;
    }
  });
  return taken;
}

bool ContactGroups::add(std::string_view name, const std::vector<std::string>& addresses) {
  return database_.use([&](sqlite3* connection) {
    Database::execute(connection, "BEGIN IMMEDIATE");
    Statement(connection, "INSERT INTO contact_group (name) VALUES (?1)").bind(1, name).run();
    addMembers(connection, sqlite3_last_insert_rowid(connection), addresses);
    Database::execute(connection, "COMMIT");
  });
}

bool ContactGroups::rename(std::int64_t id, std::string_view name) {
  return database_.run("UPDATE contact_group SET name = ?2 WHERE id = ?1", id, name);
}

bool ContactGroups::remove(std::int64_t id) {
  return database_.run("DELETE FROM contact_group WHERE id = ?1", id);
}

bool ContactGroups::addressChanged(std::string_view before, std::string_view after) {
  if (before == after) return true;
  if (after.empty()) return contactRemoved(before);
  return database_.use([&](sqlite3* connection) {
    // A group that has the new address already keeps it once.
    Statement(connection, "UPDATE OR IGNORE group_member SET address = ?2 WHERE address = ?1")
        .bind(1, before)
        .bind(2, after)
        .run();
    Statement(connection, "DELETE FROM group_member WHERE address = ?1").bind(1, before).run();
  });
}

bool ContactGroups::contactRemoved(std::string_view address) {
  return database_.run("DELETE FROM group_member WHERE address = ?1", address);
}

bool ContactGroups::join(std::string_view address, const std::vector<std::string>& names) {
  if (names.empty() || address.empty()) return true;
  return database_.use([&](sqlite3* connection) {
    Database::execute(connection, "BEGIN IMMEDIATE");
    for (const auto& name : names) {
      addMembers(connection, groupNamed(connection, name), {std::string(address)});
    }
    Database::execute(connection, "COMMIT");
  });
}

std::vector<std::string> ContactGroups::groupsOf(std::string_view address) {
  std::vector<std::string> names;
  database_.read([&](sqlite3* connection) {
    Statement query(connection,
                    "SELECT g.name FROM contact_group g JOIN group_member m ON m.group_id = g.id "
                    "WHERE m.address = ?1 ORDER BY g.name");
    query.bind(1, address);
    while (query.step()) names.push_back(query.text(0));
  });
  return names;
}

}  // namespace movarek
