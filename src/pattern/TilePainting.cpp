#include "pattern/TilePainting.h"

#include <cmath>

#include "base/Numeric.h"

namespace tessivane {

void FillIdentityPointMap(ConversionMethod& unit, int width, int height) {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) unit.PointMap[x][y] = ConversionMethod::PackPoint(x, y);
  if (unit.ShufflePoints) unit.ShuffleMap();
}

void BuildWholeCutMap(ConversionMethod& unit, int width, int height) {
  FillIdentityPointMap(unit, width, height);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) unit.TileMap[x][y] = unit.PointMap[x][y];
}

int QuarterSide(int cutWidth) { return static_cast<int>(Round(std::sqrt(Extended{2}) * cutWidth / 2)); }

}  // namespace tessivane
