// A minimal unit transform for tests: identity map over the cut (shuffled
// when asked), tile = the cut turned back upright through TileMap.
#pragma once
#include <memory>

#include "pattern/ConversionMethod.h"
#include "pattern/TilePainting.h"

namespace tessivane::testing {

class TestMethod : public ConversionMethod {
public:
  explicit TestMethod(bool relaxed = false) { SetTakesOblongCut(relaxed); }

  int buildCount = 0;

  void BuildMap() override {
    ++buildCount;
    for (int x = 0; x < CutWidth; ++x)
      for (int y = 0; y < CutHeight; ++y) PointMap[x][y] = PackPoint(x, y);
    if (ShufflePoints) ShuffleMap();
    for (int x = 0; x < CutWidth; ++x)
      for (int y = 0; y < CutHeight; ++y) TileMap[x][y] = PointMap[x][y];
  }

  void MakeTile() override {
    Tile.SetSize(CutWidth, CutHeight);
    PaintMappedArea(*this, CutWidth, CutHeight, false);
  }
};

}  // namespace tessivane::testing
