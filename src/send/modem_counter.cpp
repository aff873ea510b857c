#include "send/modem_counter.h"

#include <algorithm>
#include <vector>

#include "common/utf8.h"

namespace movarek {
namespace {

// The GSM default alphabet beyond printable ASCII, line feed and carriage return. Of printable
// ASCII it lacks `[\]^`{|}~`; all but the backtick are in the extension table.
constexpr std::u32string_view kDefaultBeyondAscii = U"£¥èéùìòÇØøÅåΔΦΓΛΩΠΨΣΘΞÆæßÉ¤¡ÄÖÑÜ§¿äöñüà";
// Reached through the escape septet, so each takes two.
constexpr std::u32string_view kExtension = U"\f^{}\\[~]|€";
constexpr std::u32string_view kAsciiOutsideDefault = U"[\\]^`{|}~";

struct Limits {
  std::size_t whole;  // in a message of one part
  std::size_t part;   // in each part of a longer one
};
constexpr Limits kGsm7Limits{160, 153};
constexpr Limits kUcs2Limits{70, 67};

bool inDefaultAlphabet(char32_t c) {
  if (c == U'\n' || c == U'\r') return true;
  if (c >= 0x20 && c < 0x7F) return kAsciiOutsideDefault.find(c) == std::u32string_view::npos;
  return kDefaultBeyondAscii.find(c) != std::u32string_view::npos;
}

bool inExtension(char32_t c) { return kExtension.find(c) != std::u32string_view::npos; }

// The characters as they go: CR LF as one LF.
std::vector<char32_t> modemCharacters(std::string_view utf8) {
  std::vector<char32_t> characters;
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (utf8.compare(pos, 2, "\r\n") == 0) {
      characters.push_back(U'\n');
      pos += 2;
      continue;
    }
    characters.push_back(nextCodePoint(utf8, pos));
  }
  return characters;
}

unsigned partsOf(const std::vector<unsigned>& costs, std::size_t total, Limits limits) {
  if (total <= limits.whole) return 1;
  unsigned parts = 1;
  std::size_t filled = 0;
  for (const unsigned cost : costs) {
    if (filled + cost > limits.part) {
      ++parts;
      filled = 0;
    }
    filled += cost;
  }
  return parts;
}

}  // namespace

ModemCount countForModem(std::string_view utf8) {
  const std::vector<char32_t> characters = modemCharacters(utf8);
  ModemCount count;
  const auto forcing = std::ranges::find_if(
      characters, [](char32_t c) { return !inDefaultAlphabet(c) && !inExtension(c); });
  if (forcing != characters.end()) {
    count.encoding = ModemEncoding::Ucs2;
    appendUtf8(count.forcedUcs2By, *forcing);
  }
  const bool gsm7 = count.encoding == ModemEncoding::Gsm7;
  std::vector<unsigned> costs;
  costs.reserve(characters.size());
  for (const char32_t c : characters) {
    const bool doubled = gsm7 ? inExtension(c) : c > 0xFFFF;
    costs.push_back(doubled ? 2 : 1);
    count.characters += costs.back();
  }
  count.parts = partsOf(costs, count.characters, gsm7 ? kGsm7Limits : kUcs2Limits);
  return count;
}

std::string textForModem(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
    if (utf8.compare(pos, 2, "\r\n") != 0) text += utf8[pos];
  }
  return text;
}

std::string modemTooLongMessage(unsigned parts) {
  return "Text zprávy je příliš dlouhý: modem by ho poslal jako " + std::to_string(parts) +
         " SMS, najednou lze poslat nejvýše " + std::to_string(kMostModemParts) +
         ".\nZkraťte text zprávy.";
}

}  // namespace movarek
