// The help document as the help window reads it, whatever napoveda.rtf holds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "rtf/rtf_reader.h"

namespace {

// Well-formed UTF-8 without overlong forms, surrogates or code points past U+10FFFF.
bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::size_t characters(std::string_view utf8) {
  std::size_t count = 0;
  for (char byte : utf8) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

// Font names of the system are at most 31 characters long.
constexpr std::size_t kLongestFontName = 31;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto document = movarek::parseRtf({reinterpret_cast<const char*>(data), size});

  // What the reader makes grows with the file, never faster: no input byte gives more than
  // four bytes of text, a paragraph or a run.
  std::size_t made = 0;
  for (const auto& paragraph : document.paragraphs) {
    made += 1;
    FUZZ_REQUIRE(paragraph.leftIndentTwips >= 0);
    for (const auto& run : paragraph.runs) {
      made += 1 + run.text.size();
      FUZZ_REQUIRE(isUtf8(run.text) && isUtf8(run.format.fontName));
      FUZZ_REQUIRE(characters(run.format.fontName) <= kLongestFontName);
      FUZZ_REQUIRE(run.format.halfPoints > 0);
    }
  }
  FUZZ_REQUIRE(made <= 4 * size + 1);
  return 0;
}
