#pragma once
// The gateway's answer on its way to the web engine, read as the engine itself reads it: a head
// ends at the first blank line whether its lines end in CR LF or a bare LF, informational
// answers (100, 103) go before the final one as they came, and what does not begin as an HTTP
// answer at all is passed on byte for byte for the engine to judge. Only the final head is
// changed, and only in its lines about the connection: the engine is told that the connection
// ends with the answer.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace movarek {

// The engine gives up on a head longer than this itself.
inline constexpr std::size_t kLongestAnswerHead = 256 * 1024;

// Where the head at the start of `bytes` ends, past its blank line; none while it has not come
// whole.
std::optional<std::size_t> answerHeadLength(std::string_view bytes);

// The status code of a whole head ("HTTP/1.1 204 No Content"); none when it names none.
std::optional<int> answerStatus(std::string_view head);

class AnswerReader {
 public:
  // Takes what came from the gateway next; gives what goes on to the engine now.
  std::string take(std::string_view bytes);
  // The gateway ended the answer: what was still held goes on as it came.
  std::string end();

  // A head grew past the longest one: nothing of it went on, nor will anything after it.
  bool tooLong() const { return tooLong_; }
  // The final answer has begun to go on (informational ones before it do not count: an answer
  // of the gatekeeper's own may still follow them).
  bool answered() const { return raw_; }
  // Bytes held while a head comes.
  std::size_t held() const { return held_.size(); }

 private:
  std::string held_;  // a head that has not come whole
  bool raw_ = false;  // past the final head, or no HTTP answer at all: passed on as it comes
  bool tooLong_ = false;
};

}  // namespace movarek
