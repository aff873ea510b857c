#pragma once
// Texts of other programs' files turned into UTF-8, in whatever code page they come.
#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace movarek {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Text in a file's own encoding as UTF-8: UTF-8 stays (a byte order mark dropped), anything
// that is not valid UTF-8 is read as code page 1250.
std::string textAsUtf8(std::string_view bytes);

// Text in the named code page ("ISO-8859-2", "windows-1250", "UTF-16"...) as UTF-8, as the C
// library's iconv converts it; a byte the code page does not have becomes U+FFFD. A code page
// iconv does not know reads as textAsUtf8 does.
std::string namedTextAsUtf8(std::string_view bytes, const std::string& codePage);

// Converts `bytes` with `converter` (to UTF-8) onto the end of `utf8`. What the converter cannot
// read becomes U+FFFD and `unit` bytes of it are passed over; a character cut off at the end is
// left for the next piece unless `atEnd`. Gives how many bytes were taken.
std::size_t appendAsUtf8(iconv_t converter, std::string_view bytes, std::size_t unit, bool atEnd,
                         std::string& utf8);

}  // namespace movarek
