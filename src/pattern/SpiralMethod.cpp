#include "pattern/SpiralMethod.h"

#include <algorithm>
#include <cmath>

#include "base/Numeric.h"
#include "pattern/TilePainting.h"

namespace tessivane {
namespace {

// Turn per pixel of rounded distance: pi / 30, 6 degrees.
constexpr Extended kTurnPerPixel = 0.104719755119659774615L;

}  // namespace

// Each ring of equal rounded distance rho from the quarter centre is the
// cut's ring about the cut centre turned by rho * 6 degrees. For the cut
// sizes the composer makes (multiples of 4 from 32 to 256) a coordinate
// leaves the cut only at one corner point for W = 48, 76, 104 and 164, where
// it equals W; PointMap has room for that column and row, whose entries are
// never filled and show cut pixel (0, 0). Other even sizes are clamped into
// PointMap so that no size can read outside it.
UnitFailure SpiralMethod::BuildMap() {
  const int w = Cut().x;
  const int m = QuarterSide(w);
  const int centre = m / 2;
  const int c = w / 2;
  FillIdentityPointMap(w, w);

  for (int i = 0; i < m; ++i) {
    for (int k = 0; k < m; ++k) {
      const Extended dx = i - centre, dy = k - centre;
      const double rho = static_cast<double>(Round(std::sqrt(dx * dx + dy * dy)));
      const Extended a = rho * kTurnPerPixel;
      const Extended cosA = std::cos(a), sinA = std::sin(a);
      int64_t sx = Round(dx * cosA - dy * sinA + c);
      int64_t sy = Round(dx * sinA + dy * cosA + c);
      sx = std::clamp<int64_t>(sx, 0, kMaxCut);
      sy = std::clamp<int64_t>(sy, 0, kMaxCut);
      TileMap[i][k] = PointMap[sx][sy];
    }
  }
  Answer({m, m}, kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
