// Straight-line motion: a step of length Speed in a random direction that
// is drawn anew whenever the next position would leave the range. A bounce
// can carry the other axis up to one step outside the range; the position
// then heads straight back in.
#pragma once
#include "motion/MotionPath.h"

namespace tessivane {

class StraightPath : public MotionPath {
public:
  StraightPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random);
  void Move() override;
};

}  // namespace tessivane
