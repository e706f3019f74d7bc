#include "motion/SlideShowPath.h"

#include <algorithm>

#include "base/Random.h"

namespace tessivane {

SlideShowPath::SlideShowPath(int32_t x, int32_t y, int32_t speed, const Point& range)
    : MotionPath(x, y, speed, range) {}

void SlideShowPath::Move() {
  // A random integer below the maximum, X first. A negative maximum would
  // read as a huge unsigned range and throw the position far off the
  // picture; it draws below 0 instead, which gives 0 (the draw is still
  // made, so the sequence stays the same).
  X = RandomInt(static_cast<uint32_t>(std::max(MaxX, 0)));
  Y = RandomInt(static_cast<uint32_t>(std::max(MaxY, 0)));
}

}  // namespace tessivane
