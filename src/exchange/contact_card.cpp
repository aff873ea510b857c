#include "exchange/contact_card.h"

#include "common/cp1250.h"

namespace movarek {
namespace {

// The length of the UTF-8 sequence a lead byte opens; 0 for a byte no sequence begins with.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool isUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const int length = sequenceLength(static_cast<unsigned char>(bytes[i]));
    if (length == 0 || i + length > bytes.size()) return false;
    for (int k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

}  // namespace

std::string textAsUtf8(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return isUtf8(bytes) ? std::string(bytes) : cp1250ToUtf8(bytes);
}

}  // namespace movarek
