#include "pattern/KaleidoscopeMethod.h"

#include <cmath>

namespace tessivane {
namespace {

// Side A of the triangle: the cut width with its lowest bit cleared.
int TriangleSide(int cutWidth) { return cutWidth & ~1; }

// Columns from the left end of the triangle base to the point where the
// passes stop climbing: Trunc(i * sqrt 3) on the left half, mirrored on the
// right half.
int64_t RiseAt(int i, int a, Extended sqrt3) { return i < a / 2 ? Trunc(i * sqrt3) : Trunc((a - i) * sqrt3); }

}  // namespace

KaleidoscopeMethod::KaleidoscopeMethod() : sqrt3_(std::sqrt(Extended{3})) {}

// Fills TileMap columns 0..3A-1, rows 0..r-1 with the strip of six
// triangles D0 U0 D1 U1 D2 U2 (see the header). Three passes, in this
// order, each later write replacing an earlier one where triangles touch:
//   1. U0 is the fundamental triangle unchanged, D2 the same upside down;
//   2. D0 and U1, its reflections in the left side;
//   3. D1 and U2, its reflections in the right side (U2 wraps around to
//      columns 0..M-1).
// The positions along the shared sides depend on the rounding below, which
// is kept exactly so that the tile is the same on every platform.
UnitFailure KaleidoscopeMethod::BuildMap() {
  const int a = TriangleSide(Cut().x);
  const int m = a / 2;
  const Extended sqrt3 = std::sqrt(Extended{3});
  const double h = StoreDouble(a * sqrt3 / 2);
  const int r = static_cast<int>(Round(h));

  // The triangle, with the row above it repeating its top row and the
  // column beyond its right edge repeating the last column.
  for (int x = 0; x < a; ++x) {
    for (int y = 0; y < r; ++y) PointMap[x][y] = PackPoint(x, y);
    PointMap[x][r] = PackPoint(x, r - 1);
  }
  for (int y = 0; y <= a; ++y) PointMap[a][y] = PackPoint(a - 1, y);

  if (Shuffles()) ShuffleMap();

  // Pass 1: U0 (columns M..M+A) and D2 (columns 2A..3A, upside down). For
  // i >= M the rows run downwards; the writes do not collide, the order is
  // kept as a matter of record.
  for (int i = 0; i < a; ++i) {
    const int t = static_cast<int>((i < m ? Trunc(i * sqrt3_) : Trunc((a - i) * sqrt3_)) + 1);
    auto write = [&](int j) {
      const int32_t v = PointMap[i][j];
      TileMap[m + i][j] = v;
      if (j <= r) TileMap[2 * a + i][r - j] = v;
    };
    if (i < m) {
      for (int j = 0; j <= t; ++j) write(j);
    } else {
      for (int j = t; j >= 0; --j) write(j);
    }
  }

  // Pass 2: D0 (columns 0..A, upside down) and U1 (columns A+M..2A+M).
  for (int i = 0; i < a; ++i) {
    const int64_t n = RiseAt(i, a, sqrt3);
    for (int j = 0; j <= n + 1; ++j) {
      const double x = StoreDouble(Extended(a / 2) + ((a - i) - j * sqrt3) / 2);
      const double y = StoreDouble(Extended(h) - (j + (a - i) * sqrt3) / 2);
      if (Round(y) < 0 || j > r) continue;
      const int32_t v = PointMap[Round(x)][Round(y)];
      TileMap[i][r - j] = v;
      TileMap[m + a + i][j] = v;
    }
  }

  // Pass 3: D1 (columns A..2A, upside down) and U2 (columns 2A+M..3A+M,
  // wrapping to 0..M-1).
  for (int k = 0; k < a; ++k) {
    const int64_t n = RiseAt(k, a, sqrt3);
    for (int j = 0; j <= n + 1; ++j) {
      const double x = StoreDouble(Extended(a / 2) + (j * sqrt3 - k) / 2);
      const double y = StoreDouble(Extended(h) - (k * sqrt3 + j) / 2);
      if (Round(y) < 0 || j > r) continue;
      const int32_t v = PointMap[Round(x)][Round(y)];
      TileMap[a + k][r - j] = v;
      if (k < m)
        TileMap[2 * a + m + k][j] = v;
      else
        TileMap[k - m][j] = v;
    }
  }
  // Mirrored downwards without doubling the top row or the axis row r - 1:
  // vertical period 2r - 2; the horizontal period 3A continues the strip.
  Answer({3 * a, r}, kSymmetryDown);
  return {};
}

}  // namespace tessivane
