// The tablecloth: the half of the square cut below its falling diagonal,
// mirrored across that diagonal, then mirrored both ways.
#pragma once
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Tile: (2a - 2) x (2a - 2) for a square cut of side a (= CutWidth).
class TableclothMethod : public ConversionMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
