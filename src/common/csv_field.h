#pragma once
// A field of a CSV file as spreadsheets read it: quoted when it holds a comma, a quote or a line
// end, its quotes doubled.
#include <string>
#include <string_view>

namespace movarek {

inline std::string csvField(std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  std::string quoted = "\"";
  for (const char c : utf8) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace movarek
