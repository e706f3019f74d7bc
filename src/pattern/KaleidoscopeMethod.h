// The kaleidoscope proper: an equilateral triangle of the cut reflected in
// three mirrors set at 60 degrees.
#pragma once
#include "base/Numeric.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Tile: 3A x (2r - 2) for a cut of side A, r = Round(A * sqrt(3) / 2), the
// triangle's height. The map strip (3A x r) holds six triangles of side A,
// alternately pointing down and up, each the mirror image of its
// neighbours; the tile is that strip mirrored downwards.
class KaleidoscopeMethod : public ConversionMethod {
public:
  KaleidoscopeMethod();

  void BuildMap() override;
  void MakeTile() override;

  // The square root of 3, used by the first pass of BuildMap.
  Extended Sqrt3;
};

}  // namespace tessivane
