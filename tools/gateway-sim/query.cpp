#include "query.h"

#include "common/cp1250.h"
#include "common/hex_digits.h"

namespace movarek::gatewaysim {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    const auto end = text.find(separator);
    if (end != 0) pieces.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return pieces;
}

}  // namespace

std::string percentDecode(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      bytes += ' ';
    } else if (c == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
               hexDigitValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
      i += 2;
    } else {
      bytes += c;
    }
  }
  return bytes;
}

std::vector<QueryValue> decodeQuery(std::string_view rawQuery) {
  std::vector<QueryValue> values;
  for (std::string_view pair : split(rawQuery, '&')) {
    const auto equals = pair.find('=');
    const auto key = pair.substr(0, equals);
    const auto value =
        equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
    values.push_back({cp1250ToUtf8(percentDecode(key)), cp1250ToUtf8(percentDecode(value))});
  }
  return values;
}

std::optional<std::string> findValue(const std::vector<QueryValue>& values, std::string_view key) {
  for (const auto& value : values) {
    if (value.key == key) return value.value;
  }
  return std::nullopt;
}

std::vector<std::string> splitAddresses(std::string_view adr) {
  std::vector<std::string> addresses;
  for (std::string_view address : split(adr, '~')) addresses.emplace_back(address);
  return addresses;
}

Target splitTarget(std::string_view target) {
  const auto question = target.find('?');
  if (question == std::string_view::npos) return {std::string(target), {}};
  return {std::string(target.substr(0, question)), std::string(target.substr(question + 1))};
}

}  // namespace movarek::gatewaysim
