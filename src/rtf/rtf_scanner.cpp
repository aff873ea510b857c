#include "rtf/rtf_scanner.h"

#include <algorithm>

#include "common/hex_digits.h"

namespace movarek {
namespace {

// Numbers beyond any sensible value stop growing rather than overflow.
constexpr long long kParameterCeiling = 1'000'000'000;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool RtfScanner::wordFollows() const { return !atEnd() && isLetter(input_[pos_]); }

ControlWord RtfScanner::readControlWord() {
  const std::size_t start = pos_;
  while (wordFollows()) ++pos_;
  ControlWord word{input_.substr(start, pos_ - start), std::nullopt};
  const bool negative =
      pos_ + 1 < input_.size() && input_[pos_] == '-' && isDigit(input_[pos_ + 1]);
  if (negative) ++pos_;
  if (!atEnd() && isDigit(input_[pos_])) {
    long long value = 0;
    for (; !atEnd() && isDigit(input_[pos_]); ++pos_) {
      value = std::min(value * 10 + (input_[pos_] - '0'), kParameterCeiling);
    }
    word.parameter = static_cast<int>(negative ? -value : value);
  }
  if (!atEnd() && input_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
  return word;
}

std::optional<unsigned char> RtfScanner::readHexByte() {
  int byte = 0;
  for (int digit = 0; digit < 2; ++digit) {
    const int value = atEnd() ? -1 : hexDigitValue(input_[pos_]);
    if (value < 0) return std::nullopt;
    byte = byte * 16 + value;
    ++pos_;
  }
  return static_cast<unsigned char>(byte);
}

void RtfScanner::skip(std::size_t length) { pos_ += std::min(length, input_.size() - pos_); }

}  // namespace movarek
