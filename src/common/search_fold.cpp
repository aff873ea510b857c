#include "common/search_fold.h"

namespace movarek {
namespace {

// The base letter of U+00C0 to U+017F, or '.' for a character kept as it is (Æ, ß, Œ and the
// like).
constexpr std::string_view kBaseLetters =
    "aaaaaa.ceeeeiiii"
    "dnooooo.ouuuuy.."
    "aaaaaa.ceeeeiiii"
    "dnooooo.ouuuuy.y"
    "aaaaaaccccccccdd"
    "ddeeeeeeeeeegggg"
    "gggghhhhiiiiiiii"
    "ii..jjkk.lllllll"
    "lllnnnnnn...oooo"
    "oo..rrrrrrssssss"
    "ssttttttuuuuuuuu"
    "uuuuwwyyyzzzzzzs";
constexpr char32_t kFirstFolded = 0xC0;

static_assert(kBaseLetters.size() == 0x180 - kFirstFolded);

}  // namespace

// Written through a pointer into a buffer as long as the text: a folded text is never longer.
// This runs for every record a search looks through.
void foldForSearch(std::string_view utf8, std::string& folded) {
  folded.resize(utf8.size());
  char* out = folded.data();
  const std::size_t size = utf8.size();
  for (std::size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      *out++ = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
      continue;
    }
    // Two-byte sequences cover U+0080 to U+07FF, the letters folded among them.
    if ((byte & 0xE0) == 0xC0 && i + 1 < size) {
      const char32_t code =
          ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      if (code >= kFirstFolded && code - kFirstFolded < kBaseLetters.size() &&
          kBaseLetters[code - kFirstFolded] != '.') {
        *out++ = kBaseLetters[code - kFirstFolded];
        ++i;
        continue;
      }
    }
    *out++ = static_cast<char>(byte);
  }
  folded.resize(static_cast<std::size_t>(out - folded.data()));
}

std::string foldedForSearch(std::string_view utf8) {
  std::string folded;
  foldForSearch(utf8, folded);
  return folded;
}

}  // namespace movarek
