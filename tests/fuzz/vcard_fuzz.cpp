// Any bytes as a vCard file to import.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/text_lines.h"
#include "exchange/vcard_reader.h"
#include "exchange_fuzz.h"

namespace {

// How many cards a file can hold at most: one for each "BEGIN:VCARD", in any case, of its text
// as it reads (UTF-16 turned into UTF-8).
std::size_t beginLines(std::string_view file) {
  movarek::TextLines lines(file);
  std::string upper, line;
  while (lines.next(line)) upper += line + "\n";
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  std::size_t count = 0;
  for (auto at = upper.find("BEGIN:VCARD"); at != std::string::npos;
       at = upper.find("BEGIN:VCARD", at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  checkImport(movarek::readVCards(file), beginLines(file));
  return 0;
}
