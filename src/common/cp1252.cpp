#include "common/cp1252.h"

#include <array>

#include "common/utf8.h"

namespace movarek {
namespace {

// 0x80 to 0x9F: the quotes, dashes, the euro sign and the other letters Latin-1 has not.
constexpr std::array<char16_t, 32> kPrintableControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::string cp1252ToUtf8(std::string_view cp1252) {
  std::string utf8;
  utf8.reserve(cp1252.size());
  for (const char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    appendUtf8(utf8, byte >= 0x80 && byte < 0xA0 ? kPrintableControls[byte - 0x80] : byte);
  }
  return utf8;
}

}  // namespace movarek
