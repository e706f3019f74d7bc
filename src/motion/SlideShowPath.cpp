#include "motion/SlideShowPath.h"

#include <algorithm>

namespace tessivane {

SlideShowPath::SlideShowPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random)
    : MotionPath(x, y, speed, range, random) {}

void SlideShowPath::Move() {
  // A random integer below the maximum, X first. A negative maximum would
  // read as a huge unsigned range and throw the position far off the
  // picture; it draws below 0 instead, which gives 0 (the draw is still
  // made, so the sequence stays the same).
  X = random_.Int(static_cast<uint32_t>(std::max(MaxX, 0)));
  Y = random_.Int(static_cast<uint32_t>(std::max(MaxY, 0)));
}

}  // namespace tessivane
