#include "webview/refusal_log.h"

#include <utility>

namespace movarek {
namespace {

constexpr auto kOnePerHost = std::chrono::seconds(1);

}  // namespace

std::vector<RefusalLog::Line> RefusalLog::refused(const std::string& host, Clock::time_point now) {
  const auto [found, fresh] = hosts_.try_emplace(host, Host{now, 0});
  if (!fresh && (found->second.counted > 0 || now - found->second.told < kOnePerHost)) {
    ++found->second.counted;
    return {};
  }
  found->second.told = now;
  return {{host, 1}};
}

std::vector<RefusalLog::Line> RefusalLog::due(Clock::time_point now) {
  std::vector<Line> lines;
  for (auto host = hosts_.begin(); host != hosts_.end();) {
    if (now - host->second.told < kOnePerHost) {
      ++host;
    } else if (host->second.counted > 0) {
      lines.push_back({host->first, std::exchange(host->second.counted, 0)});
      host->second.told = now;
      ++host;
    } else {
      // Quiet for a second: forgotten, so that the hosts of a long run are not all kept.
      host = hosts_.erase(host);
    }
  }
  return lines;
}

}  // namespace movarek
