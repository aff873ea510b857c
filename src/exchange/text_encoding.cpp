#include "exchange/text_encoding.h"

#include <algorithm>
#include <cerrno>

#include "common/cp1250.h"

namespace movarek {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

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

std::string namedTextAsUtf8(std::string_view bytes, const std::string& codePage) {
  const iconv_t converter = ::iconv_open("UTF-8", codePage.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return textAsUtf8(bytes);
  std::string utf8;
  appendAsUtf8(converter, bytes, 1, true, utf8);
  ::iconv_close(converter);
  return utf8;
}

std::size_t appendAsUtf8(iconv_t converter, std::string_view bytes, std::size_t unit, bool atEnd,
                         std::string& utf8) {
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char chunk[4096];
  while (inLeft > 0) {
    char* out = chunk;
    std::size_t outLeft = sizeof chunk;
    const std::size_t done = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    utf8.append(chunk, static_cast<std::size_t>(out - chunk));
    if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    if (errno == EINVAL && !atEnd) break;  // a character cut at the piece's end: it comes whole
    // A byte the code page does not have, or a sequence cut off at the end.
    utf8 += kReplacement;
    const std::size_t skipped = std::min(unit, inLeft);
    in += skipped;
    inLeft -= skipped;
  }
  return bytes.size() - inLeft;
}

}  // namespace movarek
