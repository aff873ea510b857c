#pragma once
// Reading and writing the program's small data files.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

// At most `limit` bytes from the start of a regular file; nothing when it cannot be read.
// The limit keeps a damaged or foreign file from being read whole into memory.
std::optional<std::string> readFileStart(const std::string& path, std::size_t limit);

// Replaces the file with `bytes` so that it is never left half written: the bytes go to a
// temporary file in the same folder, are flushed to the disk, and the temporary file is
// renamed over the old one. On any failure the old file stays as it was, the temporary file
// is removed, and false comes back.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace movarek
