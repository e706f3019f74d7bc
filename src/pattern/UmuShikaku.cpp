#include "pattern/UmuShikaku.h"

#include "pattern/UnitTile.h"

namespace tessivane {

void FillIdentityPointMap(TMakeUnit& unit, int width, int height) {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) unit.PointMap[x][y] = TMakeUnit::PackPoint(x, y);
  if (unit.ShufflePoints) unit.ShuffleMap();
}

void BuildWholeCutMap(TMakeUnit& unit, int width, int height) {
  FillIdentityPointMap(unit, width, height);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) unit.TileMap[x][y] = unit.PointMap[x][y];
}

void TShikaku::BuildMap() { BuildWholeCutMap(*this, CutWidth, CutHeight); }

void TShikaku::MakeTile() { MakeMirroredTile(*this, CutWidth, CutHeight); }

}  // namespace tessivane
