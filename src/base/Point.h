// A point or size in whole pixels (width/height or x/y), as the composer,
// the unit transforms and the motion paths pass them around.
#pragma once
#include <cstdint>

namespace tessivane {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

}  // namespace tessivane
