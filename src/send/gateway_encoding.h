#pragma once
// How a field's text is written into the query of a gateway URL.
#include <cstdint>
#include <string>
#include <string_view>

namespace movarek {

inline constexpr std::int32_t kMessageCapacity = 10000;
inline constexpr std::int32_t kAddressCapacity = 2000;

// Encodes the zero-terminated text in `buffer` in place. The capacity picks the rules:
// exactly kAddressCapacity gives the address rules (spaces dropped, "," and ";" become "~"),
// any other the message rules (spaces become "+"). Under both, Czech letters lose their
// diacritics, a line feed becomes "%0A", a carriage return is dropped, and "%", "&", "+", "#"
// typed by the user are escaped so that they reach the gateway as typed. The output never
// takes more than capacity - 1 bytes: a replacement that would not fit whole ends it. Only
// the first 9999 bytes of the text are read.
void EncodeForGateway(char* buffer, std::int32_t capacity);

// A whole text as EncodeForGateway writes it, however long it comes out: the address rules
// or the message rules.
enum class EncodingRules { Address, Message };
std::string encodedForGateway(std::string_view text, EncodingRules rules);

// Escapes "%", "&", "+" and "#" and leaves every other byte as it is: for the fields that go
// into a query without the rest of the encoding.
std::string escapeQueryCharacters(std::string_view text);

}  // namespace movarek
