// The rectangle: the whole cut, which may be oblong, mirrored both ways.
#pragma once
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Tile: (2W - 2) x (2H - 2). Takes an oblong cut (one side of at least 32
// is enough) and odd sizes, as its row says (MethodRow::TakesOblongCut).
class RectangleMethod : public ConversionMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
