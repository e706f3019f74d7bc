#include "pattern/DistortedSquareMethod.h"

#include <algorithm>
#include <cmath>

#include "base/Numeric.h"

namespace tessivane {
namespace {

// The quarter of the distorted square fits in the cut turned by 45 degrees.
int InscribedQuarterSide(int w, int h) {
  return static_cast<int>(Trunc(std::min(w, h) / std::sqrt(Extended{2})));
}

}  // namespace

// A quarter point at distance r and angle phi from the quarter centre shows
// the cut point at distance r and angle n * phi from the cut centre. The
// distance and the turned angle are held as doubles.
UnitFailure DistortedSquareMethod::BuildMap() {
  const int w = Cut().x, hgt = Cut().y;
  const int m = InscribedQuarterSide(w, hgt);
  const int centre = m / 2;
  const int cx = w / 2, cy = hgt / 2;
  FillIdentityPointMap(w, hgt);

  for (int i = 0; i < m; ++i) {
    for (int k = 0; k < m; ++k) {
      const Extended dx = i - centre, dy = k - centre;
      const double r = StoreDouble(std::sqrt(dx * dx + dy * dy));
      const double a = StoreDouble(rotate_ * std::atan2(dy, dx));
      int64_t sx = Trunc(std::cos(Extended{a}) * r) + cx;
      int64_t sy = Trunc(std::sin(Extended{a}) * r) + cy;
      sx = std::clamp<int64_t>(sx, 0, w - 1);
      sy = std::clamp<int64_t>(sy, 0, hgt - 1);
      TileMap[i][k] = PointMap[sx][sy];
    }
  }
  Answer({m, m}, kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
