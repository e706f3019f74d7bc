// Date-time values as days (the fraction is the time of day), the way the
// image-change schedule counts time.
#pragma once

namespace tessivane {

using DateTime = double;

// The current moment in days since 1899-12-30, local wall clock not needed:
// only differences matter.
DateTime Now();

// (days * 86400 + seconds) / 86400.
DateTime AddSeconds(DateTime t, double seconds);

// Three-way comparison where two moments less than one millisecond apart
// count as equal: -1 when a is earlier, 1 when later, 0 when equal.
int CompareDateTime(DateTime a, DateTime b);

// The milliseconds from `from` to `to` (negative when `to` is earlier).
double MillisecondsBetween(DateTime from, DateTime to);

}  // namespace tessivane
