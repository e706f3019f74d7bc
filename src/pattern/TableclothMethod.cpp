#include "pattern/TableclothMethod.h"

namespace tessivane {

UnitFailure TableclothMethod::BuildMap() {
  const int a = Cut().x;
  FillIdentityPointMap(a, a);
  // Lower-left half, x + y <= a - 1: on screen the triangle below the
  // diagonal from the top-left to the bottom-right corner.
  for (int y = 0; y < a; ++y)
    for (int x = 0; x <= a - 1 - y; ++x) TileMap[x][y] = PointMap[x][y];
  // Upper-right half, its mirror image: on screen the pixel at column x,
  // row r from the top shows the pixel at column r, row x.
  for (int y = 1; y < a; ++y)
    for (int x = a - 1; x >= a - y; --x) TileMap[x][y] = PointMap[a - 1 - y][a - 1 - x];
  Answer({a, a}, kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
