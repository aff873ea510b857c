#pragma once
// What a gateway request asks for, read as the gateway reads it: percent escapes and "+"
// decoded, the bytes taken as code page 1250.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movarek::gatewaysim {

// One "key=value" pair of a query, both decoded to UTF-8.
struct QueryValue {
  std::string key;
  std::string value;

  bool operator==(const QueryValue&) const = default;
};

// "%XY" becomes the byte XY and "+" a space; a "%" without two hex digits after it stays as
// it is. The result is raw bytes.
std::string percentDecode(std::string_view text);

// The pairs of "a=1&b=2" in their order, decoded, code page 1250 shown as UTF-8. A piece
// without "=" is a key with an empty value; empty pieces are skipped.
std::vector<QueryValue> decodeQuery(std::string_view rawQuery);

// The value of the first `key`, or nothing when the query has none.
std::optional<std::string> findValue(const std::vector<QueryValue>& values, std::string_view key);

// The addresses of a decoded "adr" value: each is followed by "~" ("a@x.cz~b@y.cz~").
// Empty pieces are skipped.
std::vector<std::string> splitAddresses(std::string_view adr);

// The request target "/path?query" split in two; no "?" gives an empty query.
struct Target {
  std::string path;
  std::string query;
};
Target splitTarget(std::string_view target);

}  // namespace movarek::gatewaysim
