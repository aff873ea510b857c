#pragma once
// Fixed-width text fields of the data files: text ends at the first zero byte, and never
// beyond the field's width, whatever the file holds.
#include <cstddef>
#include <string>
#include <string_view>

namespace movarek {

// The text of a field: its bytes up to the first zero byte, or all of them when none is zero.
std::string fieldText(std::string_view field);

// `width` bytes: the first `longest` bytes of `text`, then zero bytes.
std::string zeroPaddedField(std::string_view text, std::size_t longest, std::size_t width);

}  // namespace movarek
