#include "common/fixed_field.h"

#include <algorithm>

namespace movarek {

std::string fieldText(std::string_view field) {
  return std::string(field.substr(0, field.find('\0')));
}

std::string zeroPaddedField(std::string_view text, std::size_t longest, std::size_t width) {
  std::string field(width, '\0');
  const auto kept = std::min({text.size(), longest, width});
  std::copy_n(text.begin(), kept, field.begin());
  return field;
}

}  // namespace movarek
