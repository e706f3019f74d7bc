#include "motion/MotionPath.h"

#include "base/Numeric.h"

namespace tessivane {

MotionPath::MotionPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random)
    : X(x), Y(y), Speed(speed), MaxX(range.x), MaxY(range.y), random_(random) {}

Point MotionPath::Position() const {
  return Point{static_cast<int32_t>(Trunc(X)), static_cast<int32_t>(Trunc(Y))};
}

}  // namespace tessivane
