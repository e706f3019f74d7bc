// Slide-show motion: every frame jumps to an unrelated random place.
#pragma once
#include "motion/MotionPath.h"

namespace tessivane {

class SlideShowPath : public MotionPath {
public:
  SlideShowPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random);
  void Move() override;
};

}  // namespace tessivane
