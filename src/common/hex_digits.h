#pragma once
// Hexadecimal digits, as percent escapes, quoted-printable text and RTF's \'hh write bytes.

namespace movarek {

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// 0 to 15 for a digit of either case; -1 for any other character.
constexpr int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace movarek
