#include "motion/UMovePositionRandom.h"

#include <algorithm>

#include "base/Random.h"

namespace tessivane {

TMovePositionRandom::TMovePositionRandom(int32_t X, int32_t Y, int32_t Speed, const Point& Range)
    : TMovePosition(X, Y, Speed, Range) {}

void TMovePositionRandom::Move() {
  // A random integer below the maximum, X first. A negative maximum would
  // read as a huge unsigned range and throw the position far off the
  // picture; it draws below 0 instead, which gives 0 (the draw is still
  // made, so the sequence stays the same).
  X = RandomInt(static_cast<uint32_t>(std::max(MaxX, 0)));
  Y = RandomInt(static_cast<uint32_t>(std::max(MaxY, 0)));
}

}  // namespace tessivane
