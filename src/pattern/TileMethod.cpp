#include "pattern/TileMethod.h"

namespace tessivane {

UnitFailure TileMethod::BuildMap() {
  const int a = Cut().x;
  const int n = a / 2;
  FillIdentityPointMap(a, a);
  // Bottom quarter: the triangle on the bottom edge, apex at the centre.
  for (int y = 0; y <= n; ++y)
    for (int x = y; x <= a - 1 - y; ++x) TileMap[x][y] = PointMap[x][y];
  // Left quarter: the bottom quarter mirrored across the rising diagonal.
  for (int x = 0; x <= n; ++x)
    for (int y = x; y <= a - 1 - x; ++y) TileMap[x][y] = PointMap[y][x];
  // Upper-right half: the lower-left half just filled, mirrored across the
  // falling diagonal (top quarter from the left one, right from the bottom).
  for (int y = 1; y < a; ++y)
    for (int x = a - 1; x >= a - y; --x) TileMap[x][y] = TileMap[a - 1 - y][a - 1 - x];
  Answer({a, a}, kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
