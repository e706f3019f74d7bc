#include "base/DateTime.h"

#include <chrono>
#include <cmath>

namespace tessivane {

namespace {
constexpr double kSecondsPerDay = 86400.0;
constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 counted from 1899-12-30
}  // namespace

DateTime Now() {
  using namespace std::chrono;
  double ms =
      static_cast<double>(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
  return kUnixEpochDays + ms / (kSecondsPerDay * 1000.0);
}

DateTime AddSeconds(DateTime t, double seconds) { return (t * kSecondsPerDay + seconds) / kSecondsPerDay; }

double MillisecondsBetween(DateTime from, DateTime to) { return (to - from) * kSecondsPerDay * 1000.0; }

int CompareDateTime(DateTime a, DateTime b) {
  double ms = MillisecondsBetween(b, a);
  if (std::fabs(ms) < 1.0) return 0;
  return ms < 0 ? -1 : 1;
}

}  // namespace tessivane
