#include "motion/StraightPath.h"

#include <algorithm>
#include <cmath>

#include "base/Numeric.h"

namespace tessivane {

namespace {
// The step across for a step along of dx, so that the step length is Speed.
// Speed squared is an integer product; the difference is never negative for
// |dx| < |Speed|, the guard only keeps rounding from producing a NaN.
double Across(int32_t speed, double dx) {
  Extended squared = static_cast<Extended>(int64_t{speed} * speed);
  return static_cast<double>(std::sqrt(std::max<Extended>(0, squared - Extended{dx} * dx)));
}
}  // namespace

StraightPath::StraightPath(int32_t x, int32_t y, int32_t speed, const Point& range, RandomGenerator& random)
    : MotionPath(x, y, speed, range, random) {
  // The first direction points right and down.
  DX = static_cast<double>(Extended{random_.Real()} * Speed);
  DY = Across(Speed, DX);
}

void StraightPath::Move() {
  int sx = DX >= 0 ? 1 : -1;
  int sy = DY >= 0 ? 1 : -1;
  int64_t nx = Trunc(Extended{X} + DX);
  int64_t ny = Trunc(Extended{Y} + DY);
  // An axis whose next position is outside the range turns towards the
  // inside. From inside the range that is a plain reversal. After a bounce
  // of the other axis has carried the position outside, it keeps heading
  // back in even when a short step does not get there yet; reversing it
  // then would send it away again and let it wander far off the picture.
  bool bounced = false;
  if (nx < 0 || nx > MaxX) {
    sx = nx < 0 ? 1 : -1;
    bounced = true;
  }
  if (ny < 0 || ny > MaxY) {
    sy = ny < 0 ? 1 : -1;
    bounced = true;
  }
  if (bounced) {
    // One draw only, even at a corner: the axis that hit an edge turns,
    // the other keeps its sign with a new step size.
    DX = static_cast<double>(Extended{random_.Real()} * Speed * sx);
    DY = Across(Speed, DX) * sy;
  }
  X = static_cast<double>(Extended{X} + DX);
  Y = static_cast<double>(Extended{Y} + DY);
}

}  // namespace tessivane
