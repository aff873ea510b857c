#pragma once
// Every text the program stores or sends is code page 1250; the screen speaks Unicode.
// These two functions are the only crossing between them.
#include <string>
#include <string_view>
#include <vector>

namespace movarek {

// Every byte maps to a character; the five bytes the code page leaves free map to the
// control characters of the same number, so no byte is ever lost on the way back.
std::string cp1250ToUtf8(std::string_view cp1250);

// A character the code page lacks becomes "?", as the system's own conversion does.
// Invalid UTF-8 sequences become "?" too.
std::string utf8ToCp1250(std::string_view utf8);

// The characters of `utf8` that code page 1250 lacks, each once, in the order they first come;
// an invalid UTF-8 sequence counts as U+FFFD.
std::vector<char32_t> charactersCp1250Lacks(std::string_view utf8);

// The base letter of a Czech letter with a diacritic (č gives c, Ř gives R); any other byte as
// it is.
char czechBaseLetter(char cp1250);

}  // namespace movarek
