// The rectangle: the whole cut, which may be oblong, mirrored both ways.
#pragma once
#include "pattern/UMakeUnit.h"

namespace tessivane {

// Tile: (2W - 2) x (2H - 2). Accepts an oblong cut (one side of at least 32
// is enough) and odd sizes.
class TShikaku : public TMakeUnit {
public:
  void BuildMap() override;
  void MakeTile() override;

protected:
  bool AcceptsNonSquareCut() const override { return true; }
};

// Fills PointMap with the identity over width x height (x outer, y inner)
// and shuffles it when the unit says so.
void FillIdentityPointMap(TMakeUnit& unit, int width, int height);
// The identity fill, then TileMap := PointMap over width x height: the map
// of the methods that show the whole cut.
void BuildWholeCutMap(TMakeUnit& unit, int width, int height);

}  // namespace tessivane
