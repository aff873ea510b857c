#pragma once
// All the program's files live in the folder of its executable; nothing else is configured.
#include <string>
#include <string_view>

namespace movarek {

// The folder of the running executable, worked out on first use.
const std::string& programFolder();

// Points the program at another folder (tests run the forms on a temporary folder).
void setProgramFolder(std::string folder);

// The full path of a file of the program folder, from its bare name. The program never
// changes the process's current folder: a full path finds the file wherever that folder is.
std::string programFile(std::string_view bareName);

}  // namespace movarek
