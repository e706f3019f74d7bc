// Curve motion: a horizontal zig-zag between the edges of the range with a
// sine-shaped vertical swing around the middle of the vertical range, one
// full swing per 360 pixels of horizontal travel.
#pragma once
#include "motion/MotionPath.h"

namespace tessivane {

class SinePath : public MotionPath {
public:
  SinePath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random);
  void Move() override;

  int32_t Amplitude;
  int32_t Center;
  double Angle = 0;  // degrees, kept in 0..360
};

}  // namespace tessivane
