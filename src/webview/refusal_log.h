#pragma once
// Refusals told in the log without flooding it: a host's first refusal at once, those that
// follow within a second counted and told together once the second is over.
#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace movarek {

class RefusalLog {
 public:
  using Clock = std::chrono::steady_clock;

  struct Line {
    std::string host;
    int refusals = 0;  // since the host's last line
    bool operator==(const Line&) const = default;
  };

  // A refusal of `host`: the line to log now, if any.
  std::vector<Line> refused(const std::string& host, Clock::time_point now);
  // The lines of the refusals counted meanwhile whose second is over.
  std::vector<Line> due(Clock::time_point now);

 private:
  struct Host {
    Clock::time_point told;  // when its last line was logged
    int counted = 0;         // refusals since
  };

  std::map<std::string, Host> hosts_;
};

}  // namespace movarek
