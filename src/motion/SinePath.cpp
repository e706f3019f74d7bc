#include "motion/SinePath.h"

#include <cmath>
#include <numbers>

#include "base/Numeric.h"

namespace tessivane {

namespace {
// A horizontal step between Speed / 2 and (Speed + 1) / 2.
double HorizontalStep(RandomGenerator& random, int32_t speed) {
  return static_cast<double>((Extended{random.Real()} + speed) / 2);
}
}  // namespace

SinePath::SinePath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random)
    : MotionPath(x, y, speed, range, random), Amplitude(0), Center(Div(MaxY, 2)) {
  Amplitude = static_cast<int32_t>(Trunc(Center * 0.95L));
  this->Y = Center;
  DX = HorizontalStep(random_, Speed);
}

void SinePath::Move() {
  int64_t nx = Trunc(Extended{X} + DX);
  if (nx < 0 || nx > MaxX) DX = HorizontalStep(random_, Speed) * (DX >= 0 ? -1 : 1);
  Angle = static_cast<double>(Extended{Angle} + std::fabs(DX));
  // One subtraction of 360 for any sane speed; fmod gives the same exact
  // result and keeps a huge speed from looping for a long time.
  if (Angle >= 360) Angle = std::fmod(Angle, 360.0);
  X = static_cast<double>(Extended{X} + DX);
  Y = static_cast<double>(std::sin(Angle * std::numbers::pi_v<Extended> / 180) * Amplitude + Center);
}

}  // namespace tessivane
