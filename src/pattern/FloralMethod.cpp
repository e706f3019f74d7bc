#include "pattern/FloralMethod.h"

#include <cmath>
#include <numbers>

#include "base/Numeric.h"
#include "pattern/TilePainting.h"

namespace tessivane {
UnitFailure FloralMethod::BuildMap() {
  const int w = Cut().x;
  const int m = QuarterSide(w);
  FillIdentityPointMap(w, w);

  // 22.5 degrees; the cosine and sine of 45 degrees come from the half
  // angle, as the reflection below needs them.
  const Extended theta = std::numbers::pi_v<Extended> / 8;
  const Extended t = std::tan(theta);
  const Extended gamma = std::cos(theta);
  const Extended sigma = std::sin(theta);
  const Extended alpha = gamma * gamma - sigma * sigma;
  const Extended beta = 2 * gamma * sigma;

  for (int i = 0; i < m; ++i) {
    const int j0 = static_cast<int>(Round(i * t));
    // The wedge from the bottom row up to the 22.5-degree line, unchanged.
    for (int k = 0; k <= j0; ++k) TileMap[i][k] = PointMap[i][k];
    // 22.5 to 45 degrees: the reflection of (i, k) in the 22.5-degree line.
    for (int k = j0 + 1; k <= i; ++k) {
      const int64_t sx = Round(i * alpha + k * beta);
      const int64_t sy = Round(i * beta - k * alpha);
      TileMap[i][k] = PointMap[sx][sy];
    }
  }
  // 45 to 90 degrees: the reflection in the diagonal.
  for (int i = 0; i < m; ++i)
    for (int k = m - 1; k > i; --k) TileMap[i][k] = TileMap[k][i];
  Answer({m, m}, kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
