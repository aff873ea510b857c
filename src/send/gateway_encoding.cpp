#include "send/gateway_encoding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace movarek {
namespace {

constexpr std::size_t kWorkingCopySize = 10000;

// Czech letters of code page 1250 and the plain letters the gateway gets instead.
constexpr std::string_view kAccented = "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E"
                                       "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E";
constexpr std::string_view kPlain = "acdeeinorstuuyzACDEEINORSTUUYZ";

// Characters with a meaning in a query, written as escapes so that the gateway, which
// decodes escapes, receives them as the user typed them.
std::string_view queryEscape(char byte) {
  switch (byte) {
    case '%': return "%25";
    case '&': return "%26";
    case '+': return "%2B";
    case '#': return "%23";
    default: return {};
  }
}

// The replacement of one input byte, by the first rule that matches. `single` is storage
// for a one-byte replacement.
std::string_view replacementFor(char byte, bool addressRules, char& single) {
  if (const auto at = kAccented.find(byte); at != std::string_view::npos) {
    single = kPlain[at];
    return {&single, 1};
  }
  if (addressRules) {
    if (byte == ' ') return {};
    if (byte == ',' || byte == ';') return "~";
  }
  switch (byte) {
    case ' ': return "+";
    case '\n': return "%0A";
    case '\r': return {};
    default: break;
  }
  if (const auto escape = queryEscape(byte); !escape.empty()) return escape;
  single = byte;
  return {&single, 1};
}

}  // namespace

void EncodeForGateway(char* buffer, std::int32_t capacity) {
  if (capacity <= 0) return;
  const auto size = static_cast<std::size_t>(capacity);
  const bool addressRules = capacity == kAddressCapacity;
  std::array<char, kWorkingCopySize> input{};
  const auto length = ::strnlen(buffer, std::min(size, kWorkingCopySize - 1));
  std::copy_n(buffer, length, input.begin());
  std::fill_n(buffer, size, '\0');

  std::size_t written = 0;
  for (std::size_t i = 0; i < length; ++i) {
    char single = 0;
    const auto replacement = replacementFor(input[i], addressRules, single);
    if (written + replacement.size() > size - 1) break;
    std::copy(replacement.begin(), replacement.end(), buffer + written);
    written += replacement.size();
  }
}

std::string escapeQueryCharacters(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char byte : text) {
    if (const auto escape = queryEscape(byte); !escape.empty()) {
      escaped += escape;
    } else {
      escaped += byte;
    }
  }
  return escaped;
}

}  // namespace movarek
