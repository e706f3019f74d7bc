#include "pattern/CarpetMethod.h"

namespace tessivane {

UnitFailure CarpetMethod::BuildMap() {
  UnitFailure failure = KaleidoscopeMethod::BuildMap();
  const int w = Cut().x;
  for (int x = 0; x < Area().x; ++x)
    for (int y = 0; y < Area().y; ++y) {
      // Points beyond the cut (never loaded this frame) stay as they are.
      const int32_t sx = PointX(TileMap[x][y]);
      if (sx >= w / 2 && sx < w) TileMap[x][y] = PackPoint(w - 1 - sx, PointY(TileMap[x][y]));
    }
  return failure;
}

}  // namespace tessivane
