#pragma once
// A stored Oskar number (a contact's telephone, an Oskar speed dial): nine digits, the
// network's prefix first, without spaces or country code.
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

struct OskarNumber {
  int prefixIndex;     // 0..3: "608", "775", "776", "777", as the Oskar page lists them
  std::string number;  // the characters after the prefix, at most six
};

// Nothing when the text does not begin with one of the four prefixes. Characters past the
// ninth are ignored; a shorter text gives a shorter number.
std::optional<OskarNumber> parseOskarNumber(std::string_view text);

}  // namespace movarek
