#pragma once
// Rich-text files of the program folder, and the error the framework raises for a file that
// cannot be opened.
#include <stdexcept>
#include <string_view>

#include "rtf/rtf_reader.h"

namespace movarek {

// Its text is "Cannot open file " followed by the file's name as the program gave it.
class EFOpenError : public std::runtime_error {
 public:
  explicit EFOpenError(std::string_view fileName);
};

// Reads and parses a file of the program folder, given by its bare name, or of an installed
// program's share/sms-movarek/ when the program folder has none.
// Throws EFOpenError when the file is missing or cannot be read.
RtfDocument loadRtfFile(std::string_view bareName);

}  // namespace movarek
