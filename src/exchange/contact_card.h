#pragma once
// A contact as another program exports it: what the address book can take of a vCard or a row
// of a CSV file. Texts are UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

struct CardPhone {
  std::string number;
  bool mobile = false;
};

struct ContactCard {
  std::string formattedName;  // vCard FN, or a CSV column of the whole name
  std::string givenName;
  std::string familyName;
  std::vector<std::string> emails;  // in the file's order
  std::vector<CardPhone> phones;    // in the file's order
};

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Text in a file's own encoding as UTF-8: UTF-8 stays (a byte order mark dropped), anything
// that is not valid UTF-8 is read as code page 1250.
std::string textAsUtf8(std::string_view bytes);

}  // namespace movarek
