// The kaleidoscope proper: an equilateral triangle of the cut reflected in
// three mirrors set at 60 degrees.
#pragma once
#include "base/Numeric.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Tile: 3A x (2r - 2) for a cut of side A, r = Round(A * sqrt(3) / 2), the
// triangle's height. The mapped area (3A x r) is a strip of six triangles
// of side A, alternately pointing down and up, each the mirror image of
// its neighbours; the tile is that strip mirrored downwards.
class KaleidoscopeMethod : public ConversionMethod {
public:
  KaleidoscopeMethod();

protected:
  UnitFailure BuildMap() override;

private:
  // The square root of 3, used by the first pass of BuildMap.
  Extended sqrt3_;
};

}  // namespace tessivane
