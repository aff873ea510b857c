#pragma once
// The lines of another program's file, one after another, read a piece at a time: a file of any
// size is read whole and takes little memory. A text in UTF-16 (known by its byte order mark)
// comes as UTF-8, a UTF-8 byte order mark is dropped, any other text comes as its bytes.
#include <iconv.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

class TextLines {
 public:
  // A line keeps this many bytes at most; the rest of a longer one (a photo written on one
  // line) is passed over. Nothing the address book keeps comes near it.
  static constexpr std::size_t kLongestLine = 64 * 1024;

  // The lines of a text in memory.
  explicit TextLines(std::string_view text);
  // The lines of a file; none when it cannot be opened as a file.
  static std::optional<TextLines> ofFile(const std::string& path);

  TextLines(TextLines&& other) noexcept;
  TextLines& operator=(TextLines&&) = delete;
  ~TextLines();

  // The next line without its line break (LF or CR LF); false once the text has ended.
  bool next(std::string& line);
  // A read of the file failed part way: the lines given so far are not all of it.
  bool failed() const { return failed_; }

 private:
  explicit TextLines(int fd);

  // Reads the next piece of the text behind what is left; false at its end.
  bool fill();
  std::size_t readRaw(char* into, std::size_t most);
  void startDecoding();
  void decode(bool atEnd);

  std::string_view memory_;  // the text, when it is in memory
  int fd_ = -1;              // the file, when it is read from one
  bool started_ = false;
  bool failed_ = false;
  iconv_t utf16_ = reinterpret_cast<iconv_t>(-1);
  std::string raw_;      // read and not yet decoded (UTF-16 only)
  std::string pending_;  // decoded and not yet given as lines
  std::size_t at_ = 0;   // the start of what is not yet given in pending_
};

}  // namespace movarek
