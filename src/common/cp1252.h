#pragma once
// The Western code page, in which documents written outside Central Europe are stored.
#include <string>
#include <string_view>

namespace movarek {

// Every byte maps to a character: the five bytes the code page leaves free map to the control
// characters of the same number, the rest of 0xA0 to 0xFF are Latin-1.
std::string cp1252ToUtf8(std::string_view cp1252);

}  // namespace movarek
