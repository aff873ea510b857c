#pragma once
// Each page's names: the window's object, its tab, a record's page as the database keeps it,
// and the log's.
#include <string_view>

#include "common/page.h"

namespace movarek {

struct PageNames {
  std::string_view object;  // the page widget's name
  std::string_view tab;     // its tab's caption, and the page a sent message lists
  std::string_view code;    // a record's page as the database keeps it; none for Eurotel
  std::string_view log;     // its sends in the log
};

inline constexpr PageNames kPageNames[] = {
    {"SMS", "SMS E-mail", "e-mail", "e-mail"},
    {"Eurotel", "Eurotel", "", "Eurotel"},
    {"Oskar", "Oskar", "oskar", "Oskar"},
    {"Modem", "Modem", "modem", "modem"},
};

constexpr const PageNames& pageNames(Page page) { return kPageNames[static_cast<int>(page)]; }

}  // namespace movarek
