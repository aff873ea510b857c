#include "webview/http_answer.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace movarek {
namespace {

// Bytes the engine passes over before the "HTTP" that begins an answer.
constexpr std::size_t kLeadingJunk = 4;

bool sameLetters(std::string_view text, std::string_view lowerCase) {
  return std::equal(text.begin(), text.end(), lowerCase.begin(), lowerCase.end(),
                    [](unsigned char c, char l) { return std::tolower(c) == l; });
}

// Where "HTTP" begins (in any case); none when it does not, -1 while too few bytes have come to
// tell.
std::optional<std::ptrdiff_t> httpStart(std::string_view bytes) {
  for (std::size_t i = 0; i <= kLeadingJunk && i + 4 <= bytes.size(); ++i) {
    if (sameLetters(bytes.substr(i, 4), "http")) return static_cast<std::ptrdiff_t>(i);
  }
  if (bytes.size() < kLeadingJunk + 4) return -1;
  return std::nullopt;
}

bool informational(int status) { return status >= 100 && status < 200 && status != 101; }

// The head's lines, each with its own line end; the blank one last.
std::vector<std::string_view> linesOf(std::string_view head) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < head.size();) {
    const auto end = std::min(head.find('\n', start), head.size() - 1);
    lines.push_back(head.substr(start, end - start + 1));
    start = end + 1;
  }
  return lines;
}

bool aboutTheConnection(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view name = line.substr(0, colon);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  return sameLetters(name, "connection") || sameLetters(name, "proxy-connection") ||
         sameLetters(name, "keep-alive");
}

// The final head with its lines about the connection (and the folded lines that go on them)
// replaced: the connection ends with this answer.
std::string closing(std::string_view head) {
  const auto lines = linesOf(head);
  std::string made(lines.front());
  bool dropping = false;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const bool folded = lines[i].starts_with(' ') || lines[i].starts_with('\t');
    if (!folded) dropping = aboutTheConnection(lines[i]);
    if (!dropping) made += lines[i];
  }
  return made + "Connection: close\r\nProxy-Connection: close\r\n" + std::string(lines.back());
}

}  // namespace

std::optional<std::size_t> answerHeadLength(std::string_view bytes) {
  bool lineFeed = false;
  char last = '\0';
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n') {
      if (lineFeed) return i + 1;
      lineFeed = true;
    } else if (c != '\r' || last != '\n') {
      lineFeed = false;
    }
    last = c;
  }
  return std::nullopt;
}

std::optional<int> answerStatus(std::string_view head) {
  const auto start = httpStart(head);
  if (!start || *start < 0) return std::nullopt;
  std::string_view line = head.substr(static_cast<std::size_t>(*start));
  line = line.substr(0, line.find('\n'));
  const auto version = line.find_first_of(" \t");
  const auto code = line.find_first_not_of(" \t", version);
  if (version == std::string_view::npos || code == std::string_view::npos ||
      line.size() < code + 3) {
    return std::nullopt;
  }
  const auto digits = line.substr(code, 3);
  if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return std::nullopt;
  }
  return (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
}

std::string AnswerReader::take(std::string_view bytes) {
  if (raw_) return std::string(bytes);
  if (tooLong_) return {};
  held_.append(bytes);
  std::string out;
  for (;;) {
    const auto start = httpStart(held_);
    if (start && *start < 0) break;
    const auto length = answerHeadLength(held_);
    if (start && (length ? *length : held_.size()) > kLongestAnswerHead) {
      tooLong_ = true;
      held_.clear();
      break;
    }
    if (start && !length) break;
    if (!start) {
      raw_ = true;
      out += std::exchange(held_, {});
      break;
    }
    const std::string_view head(held_.data(), *length);
    const auto status = answerStatus(head);
    if (status && informational(*status)) {
      out += head;
      held_.erase(0, *length);
      continue;
    }
    out += closing(head);
    out.append(held_, *length);
    held_.clear();
    raw_ = true;
    break;
  }
  return out;
}

std::string AnswerReader::end() {
  if (held_.empty() || tooLong_) return {};
  raw_ = true;
  return std::exchange(held_, {});
}

}  // namespace movarek
