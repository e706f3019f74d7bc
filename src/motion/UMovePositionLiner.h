// Straight-line motion: a step of length Speed in a random direction that
// is drawn anew whenever the next position would leave the range. A bounce
// can carry the other axis up to one step outside the range; the position
// then heads straight back in.
#pragma once
#include "motion/UMovePosition.h"

namespace tessivane {

class TMovePositionLiner : public TMovePosition {
public:
  TMovePositionLiner(int32_t X, int32_t Y, int32_t Speed, const Point& Range);
  void Move() override;
};

}  // namespace tessivane
