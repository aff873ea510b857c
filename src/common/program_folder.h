#pragma once
// Where the program's files are: the folder of its executable, and the folder its data files
// live in. Nothing else is configured.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

// The folder of the running executable, worked out on first use.
const std::string& programFolder();

// Points the program at another folder (tests run the forms on a temporary folder). The data
// folder is then chosen anew.
void setProgramFolder(std::string folder);

// The full path of a file of the program folder, from its bare name. The program never
// changes the process's current folder: a full path finds the file wherever that folder is.
std::string programFile(std::string_view bareName);

// An environment variable's value; none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The folder of the data files (padr.dat and the others): the program folder where files can be
// created there (a build folder, a portable copy), else the user's own data folder,
// $XDG_DATA_HOME/sms-movarek or ~/.local/share/sms-movarek, which need not exist yet.
std::string chooseDataFolder(const std::string& programFolder, const EnvironmentLookup& lookup);

// The data folder of this run, chosen on first use.
const std::string& dataFolder();

// The full path of a data file, from its bare name.
std::string dataFile(std::string_view bareName);

// Creates the data folder (and the folders above it) when it is missing; false when it
// cannot be created.
bool makeDataFolder();
// Creates `path` with mode 700 (the folders above it as usual) when it is missing.
bool makeFolderPrivately(const std::string& path);
// Creates `path` empty with mode 600 when it is missing; false, with errno telling why, when it
// cannot be created.
bool createFilePrivately(const std::string& path);

}  // namespace movarek
