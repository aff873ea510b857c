#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace movarek {

// A control word as the file writes it: "\fs24 " is the word "fs" with 24.
struct ControlWord {
  std::string_view name;
  std::optional<int> parameter;

  bool is(std::string_view word) const { return name == word; }
  int valueOr(int absent) const { return parameter.value_or(absent); }
};

// Walks an RTF file's bytes: the bytes one by one, and the control words and hex bytes that
// start after a backslash.
class RtfScanner {
 public:
  explicit RtfScanner(std::string_view input) : input_(input) {}

  bool atEnd() const { return pos_ >= input_.size(); }
  // The next byte, taken; only when not at the end.
  char take() { return input_[pos_++]; }
  bool wordFollows() const;
  ControlWord readControlWord();
  // The two hex digits of "\'xx"; none, and only the valid digits taken, where they are not.
  std::optional<unsigned char> readHexByte();
  // Binary data, skipped by its length or to the end.
  void skip(std::size_t length);

 private:
  std::string_view input_;
  std::size_t pos_ = 0;
};

}  // namespace movarek
