#include "motion/UMovePosition.h"

#include "base/Numeric.h"

namespace tessivane {

TMovePosition::TMovePosition(int32_t X, int32_t Y, int32_t Speed, const Point& Range)
    : X(X), Y(Y), Speed(Speed), MaxX(Range.x), MaxY(Range.y) {}

Point TMovePosition::Position() const {
  return Point{static_cast<int32_t>(Trunc(X)), static_cast<int32_t>(Trunc(Y))};
}

}  // namespace tessivane
