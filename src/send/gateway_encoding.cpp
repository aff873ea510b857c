#include "send/gateway_encoding.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/cp1250.h"

namespace movarek {
namespace {

constexpr std::size_t kWorkingCopySize = 10000;

// Characters with a meaning in a query, written as escapes so that the gateway, which
// decodes escapes, receives them as the user typed them.
std::string_view queryEscape(char byte) {
  switch (byte) {
    case '%':
      return "%25";
    case '&':
      return "%26";
    case '+':
      return "%2B";
    case '#':
      return "%23";
    default:
      return {};
  }
}

// The replacement of one input byte, by the first rule that matches. `single` is storage
// for a one-byte replacement.
std::string_view replacementFor(char byte, bool addressRules, char& single) {
  if (const char plain = czechBaseLetter(byte); plain != byte) {
    single = plain;
    return {&single, 1};
  }
  if (addressRules) {
    if (byte == ' ') return {};
    if (byte == ',' || byte == ';') return "~";
  }
  switch (byte) {
    case ' ':
      return "+";
    case '\n':
      return "%0A";
    case '\r':
      return {};
    default:
      break;
  }
  if (const auto escape = queryEscape(byte); !escape.empty()) return escape;
  single = byte;
  return {&single, 1};
}

}  // namespace

std::string encodedForGateway(std::string_view text, EncodingRules rules) {
  std::string encoded;
  encoded.reserve(text.size());
  for (const char byte : text) {
    char single = 0;
    encoded += replacementFor(byte, rules == EncodingRules::Address, single);
  }
  return encoded;
}

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
