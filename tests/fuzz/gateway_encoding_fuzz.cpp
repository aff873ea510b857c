// EncodeForGateway on any text and any capacity from 1 to 20000. The input's first two bytes
// pick the capacity; the rest, up to its first zero byte, is the text in the caller's buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "send/gateway_encoding.h"

namespace {

constexpr std::size_t kLongestInput = 9999;
constexpr std::string_view kAccented =
    "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E"
    "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E";
constexpr std::string_view kPlain = "acdeeinorstuuyzACDEEINORSTUUYZ";

// What the gateway should get once it has decoded the query: the text with the diacritics
// stripped and carriage returns dropped, and for an address the spaces dropped and both list
// separators turned into "~".
std::string expectedAtGateway(std::string_view text, bool addressRules) {
  std::string expected;
  for (char byte : text) {
    if (const auto at = kAccented.find(byte); at != std::string_view::npos) byte = kPlain[at];
    if (byte == '\r' || (addressRules && byte == ' ')) continue;
    if (addressRules && (byte == ',' || byte == ';')) byte = '~';
    expected += byte;
  }
  return expected;
}

// The escapes the gateway decodes, and the byte each stands for.
struct Escape {
  std::string_view code;
  char byte;
};
constexpr Escape kEscapes[] = {
    {"%0A", '\n'}, {"%25", '%'}, {"%26", '&'}, {"%2B", '+'}, {"%23", '#'}};

const Escape* escapeAt(std::string_view output) {
  for (const auto& escape : kEscapes) {
    if (output.starts_with(escape.code)) return &escape;
  }
  return nullptr;
}

// How many bytes of output a byte of the decoded text takes.
std::size_t encodedLength(char byte) {
  for (const auto& escape : kEscapes) {
    if (escape.byte == byte) return escape.code.size();
  }
  return 1;
}

// The output as the gateway decodes a query value. Nothing comes back for an output that
// carries a byte the encoding should have replaced: a bare "%", a "&" or "#" that would end
// the value, a line break, a space, a Czech letter, or a "+" in an address, where no byte
// becomes one.
std::optional<std::string> decodedAtGateway(std::string_view output, bool addressRules) {
  std::string decoded;
  while (!output.empty()) {
    const char byte = output.front();
    if (byte == '%') {
      const auto* escape = escapeAt(output);
      if (!escape) return {};
      decoded += escape->byte;
      output.remove_prefix(escape->code.size());
      continue;
    }
    if (std::string_view("&#\n\r ").find(byte) != std::string_view::npos ||
        kAccented.find(byte) != std::string_view::npos || (byte == '+' && addressRules)) {
      return {};
    }
    decoded += byte == '+' ? ' ' : byte;
    output.remove_prefix(1);
  }
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const auto capacity = static_cast<std::int32_t>(1 + (data[0] | data[1] << 8) % 20000);
  const auto room = static_cast<std::size_t>(capacity);
  std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  text = text.substr(0, std::min(text.find('\0'), room - 1));

  // Exactly the capacity, on the heap: a byte written or read past it is an AddressSanitizer
  // finding.
  const auto buffer = std::make_unique<char[]>(room);
  std::fill_n(buffer.get(), room, '\x55');
  std::copy(text.begin(), text.end(), buffer.get());
  buffer[text.size()] = '\0';
  movarek::EncodeForGateway(buffer.get(), capacity);

  const std::string_view output(buffer.get(), ::strnlen(buffer.get(), room));
  FUZZ_REQUIRE(output.size() <= room - 1);
  FUZZ_REQUIRE(std::all_of(buffer.get() + output.size(), buffer.get() + room,
                           [](char byte) { return byte == '\0'; }));

  const bool addressRules = capacity == movarek::kAddressCapacity;
  const auto decoded = decodedAtGateway(output, addressRules);
  FUZZ_REQUIRE(decoded.has_value());
  // Only the first 9999 bytes of a text are read. The output is all of it, or as much as fits:
  // it stops only where the next replacement would not fit whole.
  const auto expected = expectedAtGateway(text.substr(0, kLongestInput), addressRules);
  FUZZ_REQUIRE(std::string_view(expected).starts_with(*decoded));
  FUZZ_REQUIRE(*decoded == expected ||
               output.size() + encodedLength(expected[decoded->size()]) > room - 1);
  return 0;
}
