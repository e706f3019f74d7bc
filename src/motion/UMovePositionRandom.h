// Slide-show motion: every frame jumps to an unrelated random place.
#pragma once
#include "motion/UMovePosition.h"

namespace tessivane {

class TMovePositionRandom : public TMovePosition {
public:
  TMovePositionRandom(int32_t X, int32_t Y, int32_t Speed, const Point& Range);
  void Move() override;
};

}  // namespace tessivane
