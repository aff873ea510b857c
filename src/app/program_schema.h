#pragma once
// The program's database, version by version, in one place: each step brings the file from the
// version before it to its own. A new feature adds its step at the end; a step once released
// never changes, and a test upgrades a file of every earlier version.
#include <vector>

#include "common/database.h"

namespace movarek {

// Its steps, and what it keeps as the user reads it.
Schema programSchema();

// The preparations of each opening: what the stores set up on the connection.
std::vector<Database::Preparation> programPreparations();

}  // namespace movarek
