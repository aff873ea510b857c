#pragma once
// A time as the clock on the wall shows it in the user's time zone, to the minute, and the
// moments it names: on the night the clocks go forward one hour of them names none, on the
// night they go back one hour of them names two.
#include <cstdint>
#include <vector>

namespace movarek {

struct WallTime {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;
  int hour = 0;
  int minute = 0;

  bool operator==(const WallTime&) const = default;
};

// What the wall clock shows at `moment` (seconds since 1970, UTC).
WallTime wallTimeAt(std::int64_t moment);

// The moments at which the wall clock shows `time`, the earlier first: none while the clocks
// skip it, two while they pass it twice.
std::vector<std::int64_t> momentsOf(const WallTime& time);

}  // namespace movarek
