#include "addressbook/oskar_number.h"

#include <array>

#include "common/oskar_prefixes.h"

namespace movarek {
namespace {

constexpr std::size_t kPrefixLength = 3;
constexpr std::size_t kNumberLength = 6;

}  // namespace

std::optional<OskarNumber> parseOskarNumber(std::string_view text) {
  if (text.size() < kPrefixLength) return std::nullopt;
  const auto prefix = text.substr(0, kPrefixLength);
  for (std::size_t i = 0; i < kOskarPrefixes.size(); ++i) {
    if (prefix == kOskarPrefixes[i]) {
      return OskarNumber{static_cast<int>(i),
                         std::string(text.substr(kPrefixLength, kNumberLength))};
    }
  }
  return std::nullopt;
}

}  // namespace movarek
