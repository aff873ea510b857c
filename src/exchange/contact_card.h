#pragma once
// A contact as another program exports it: what the address book can take of a vCard or a row
// of a CSV file. Texts are UTF-8.
#include <string>
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
  // The groups the card belongs to: vCard CATEGORIES, a CSV column of groups.
  std::vector<std::string> categories;
};

}  // namespace movarek
