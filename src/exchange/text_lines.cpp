#include "exchange/text_lines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "common/safe_file.h"
#include "exchange/text_encoding.h"

namespace movarek {
namespace {

constexpr std::size_t kPiece = 256 * 1024;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

TextLines::TextLines(std::string_view text) : memory_(text) {}

TextLines::TextLines(int fd) : fd_(fd) {}

std::optional<TextLines> TextLines::ofFile(const std::string& path) {
  const int fd = openRegularFile(path);
  if (fd < 0) return std::nullopt;
  return TextLines(fd);
}

TextLines::TextLines(TextLines&& other) noexcept
    : memory_(other.memory_),
      fd_(std::exchange(other.fd_, -1)),
      started_(other.started_),
      failed_(other.failed_),
      utf16_(std::exchange(other.utf16_, kNoConverter)),
      raw_(std::move(other.raw_)),
      pending_(std::move(other.pending_)),
      at_(other.at_) {}

TextLines::~TextLines() {
  if (fd_ >= 0) ::close(fd_);
  if (utf16_ != kNoConverter) ::iconv_close(utf16_);
}

bool TextLines::next(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    const auto newline = pending_.find('\n', at_);
    const auto end = newline == std::string::npos ? pending_.size() : newline;
    any = any || end > at_ || newline != std::string::npos;
    line.append(pending_, at_, std::min(end - at_, kLongestLine - line.size()));
    if (newline != std::string::npos) {
      at_ = newline + 1;
      if (line.ends_with('\r')) line.pop_back();
      return true;
    }
    at_ = pending_.size();
    if (!fill()) return any;
  }
}

std::size_t TextLines::readRaw(char* into, std::size_t most) {
  if (fd_ < 0) {
    const auto taken = std::min(most, memory_.size());
    std::copy_n(memory_.data(), taken, into);
    memory_.remove_prefix(taken);
    return taken;
  }
  for (;;) {
    const ssize_t got = ::read(fd_, into, most);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) {
      failed_ = true;
      return 0;
    }
  }
}

bool TextLines::fill() {
  pending_.erase(0, at_);
  at_ = 0;
  std::string piece(kPiece, '\0');
  piece.resize(readRaw(piece.data(), piece.size()));
  const bool atEnd = piece.empty();
  raw_ += piece;
  if (!std::exchange(started_, true)) startDecoding();
  if (utf16_ != kNoConverter) {
    decode(atEnd);
  } else {
    pending_ += raw_;
    raw_.clear();
  }
  return !atEnd || !pending_.empty();
}

// The byte order mark at the start tells the encoding.
void TextLines::startDecoding() {
  if (raw_.starts_with(kByteOrderMark)) raw_.erase(0, kByteOrderMark.size());
  const bool littleEndian = raw_.starts_with("\xFF\xFE");
  if (!littleEndian && !raw_.starts_with("\xFE\xFF")) return;
  utf16_ = ::iconv_open("UTF-8", littleEndian ? "UTF-16LE" : "UTF-16BE");
  raw_.erase(0, 2);
}

void TextLines::decode(bool atEnd) {
  raw_.erase(0, appendAsUtf8(utf16_, raw_, 2, atEnd, pending_));
}

}  // namespace movarek
