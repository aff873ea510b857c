#pragma once
// What the contacts dialog hands to the address field of the "SMS E-mail" page.
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// The addresses of the marked contacts, in list order, each followed by "; ". Collection stops
// once the text is longer than 9500 characters, so it can pass that by one address. With no
// contact marked, the address shown in the dialog instead, cut to 99 characters.
std::string chosenAddresses(const std::vector<std::string>& markedAddresses,
                            std::string_view shownAddress);

}  // namespace movarek
