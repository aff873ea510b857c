#pragma once
// What the program could not write into its database before it ended (another program held
// the file), set aside in a small file beside it: the user's alone (mode 600), replaced safely,
// and written into the database at its next opening, then removed. The entries are the stores'
// own; this file only keeps them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// "movarek.db-pending", beside the file the database's path ends at.
std::string setAsidePath(const std::string& databasePath);

struct SetAside {
  // Made anew with each write: a database that has taken this set in, and says so, never takes
  // it twice, should the file outlive its taking.
  std::int64_t mark = 0;
  std::vector<std::string> entries;
};

// Adds `entries` after those set aside already; false when they could not be stored.
bool setAside(const std::string& databasePath, const std::vector<std::string>& entries);
// What is set aside; nothing when there is nothing, or when the file cannot be read as this
// program wrote it.
std::optional<SetAside> setAsideFor(const std::string& databasePath);
void removeSetAside(const std::string& databasePath);

// Fields joined so that any bytes they hold come back as they were.
std::string joinedFields(const std::vector<std::string>& fields);
std::optional<std::vector<std::string>> splitFields(std::string_view joined);
// A field's whole number; nothing when it holds anything else.
std::optional<std::int64_t> numberField(std::string_view field);

}  // namespace movarek
