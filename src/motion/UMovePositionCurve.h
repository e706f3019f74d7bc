// Curve motion: a horizontal zig-zag between the edges of the range with a
// sine-shaped vertical swing around the middle of the vertical range, one
// full swing per 360 pixels of horizontal travel.
#pragma once
#include "motion/UMovePosition.h"

namespace tessivane {

class TMovePositionCurve : public TMovePosition {
public:
  TMovePositionCurve(int32_t X, int32_t Y, int32_t Speed, const Point& Range);
  void Move() override;

  int32_t Amplitude;
  int32_t Center;
  double Angle = 0;  // degrees, kept in 0..360
};

}  // namespace tessivane
