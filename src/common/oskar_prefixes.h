#pragma once
// The four prefixes of the network of the page `Page::Oskar`, in the order that page lists them
// ("+420 608" first): a stored number begins with one, and a send gives the one chosen.
#include <array>
#include <string_view>

namespace movarek {

inline constexpr std::array<std::string_view, 4> kOskarPrefixes{"608", "775", "776", "777"};
inline constexpr std::string_view kCzechCountryCode = "+420 ";

}  // namespace movarek
