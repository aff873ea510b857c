#pragma once
// Reading and writing the program's small data files.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

// A descriptor open for reading on a regular file; -1 when there is none (a folder, a pipe, a
// device) or it cannot be read. Never waits for a writer should a pipe stand in for the file.
int openRegularFile(const std::string& path);

// At most `limit` bytes from the start of a regular file; nothing when it cannot be read.
// The limit keeps a damaged or foreign file from being read whole into memory.
std::optional<std::string> readFileStart(const std::string& path, std::size_t limit);

// Replaces the file with `bytes` so that it is never left half written: the bytes go to a
// temporary file in the same folder (".NAME.sms-movarek-" and six letters or digits), are
// flushed to the disk, the temporary file is renamed over the old one and the folder is flushed
// too. The file keeps its permissions (and its owner where this user may keep it); a new file
// follows the umask. A symbolic link is written through: the file it points to is replaced,
// beside which the temporary file is made. On any failure before the rename the old file stays
// as it was and the temporary file is removed; false comes back for any failure, a folder that
// cannot be flushed after the rename included.
bool replaceFile(const std::string& path, std::string_view bytes);

// As replaceFile, with the bytes written a piece at a time: `produce` hands each piece to
// `write` and gives false (the old file then stays) when it cannot go on.
using ChunkWriter = std::function<bool(std::string_view chunk)>;
bool replaceFileWith(const std::string& path,
                     const std::function<bool(const ChunkWriter& write)>& produce);

// The file a path ends at once every symbolic link is followed as the system follows it:
// relative targets, chains of links and linked folders on the way. The target need not exist.
std::string linkTarget(const std::string& path);

// A temporary file of replaceFile for the data file named `dataFileName`:
// ".NAME.sms-movarek-" and six letters or digits.
bool isLeftoverOf(std::string_view name, std::string_view dataFileName);

// Removes the temporary files that writes of the file at `path` left behind when they were cut
// short (a crash, a power cut); nothing else. Only one running copy may call it.
void removeLeftovers(const std::string& path);

// Makes one step of replaceFile fail on purpose, so that tests can show that a failing disk
// loses nothing. The program itself never arms a fault.
struct FileFault {
  int failingCall = 0;    // the call that fails, counted from 1 since the fault was set; 0: none
  bool persists = false;  // every call after the failing one fails too
  int calls = 0;          // calls counted so far
};

struct FileFaults {
  FileFault write;   // each write of a part of the temporary file (a file of 4096 bytes or less
                     // takes one)
  FileFault flush;   // flushing the temporary file to the disk
  FileFault rename;  // renaming it over the old file
  FileFault flushFolder;  // flushing the folder, with the new name, to the disk
};

// The faults in force; `fileFaults() = {}` clears them.
FileFaults& fileFaults();

}  // namespace movarek
