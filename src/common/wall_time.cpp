#include "common/wall_time.h"

#include <algorithm>
#include <ctime>

namespace movarek {
namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;

std::tm localAt(std::int64_t moment) {
  const auto time = static_cast<std::time_t>(moment);
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

}  // namespace

WallTime wallTimeAt(std::int64_t moment) {
  const std::tm local = localAt(moment);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

// The wall time read as if it were UTC is the moment itself shifted by the zone's offset, and
// a day either side holds every offset that may be in force then: no change of the clocks
// moves them by more.
std::vector<std::int64_t> momentsOf(const WallTime& time) {
  std::tm fields{};
  fields.tm_year = time.year - 1900;
  fields.tm_mon = time.month - 1;
  fields.tm_mday = time.day;
  fields.tm_hour = time.hour;
  fields.tm_min = time.minute;
  const std::int64_t asUtc = timegm(&fields);
  std::vector<std::int64_t> moments;
  for (const std::int64_t near : {asUtc - kDay, asUtc, asUtc + kDay}) {
    const std::int64_t moment = asUtc - localAt(near).tm_gmtoff;
    if (wallTimeAt(moment) == time && std::ranges::find(moments, moment) == moments.end()) {
      moments.push_back(moment);
    }
  }
  std::ranges::sort(moments);
  return moments;
}

}  // namespace movarek
