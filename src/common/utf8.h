#pragma once
// Unicode characters as UTF-8, the encoding of every text handed to the screen.
#include <cstdint>
#include <string>
#include <string_view>

namespace movarek {

inline void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos` and moves past it; malformed input yields U+FFFD.
inline char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<std::uint8_t>(s[pos++]);
  if (lead < 0x80) return lead;
  int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (trailing < 0 || lead > 0xF4) return 0xFFFD;
  char32_t c = lead & (0x3F >> trailing);
  for (int i = 0; i < trailing; ++i) {
    if (pos >= s.size() || (static_cast<std::uint8_t>(s[pos]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<std::uint8_t>(s[pos++]) & 0x3F);
  }
  return c;
}

}  // namespace movarek
