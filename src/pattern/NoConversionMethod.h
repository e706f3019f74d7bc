// No conversion: the tile is the cut itself (or its shuffled version), so
// the pattern shows seams where the copies meet.
#pragma once
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Tile: W x H. Takes an oblong cut and odd sizes, as its row says (MethodRow::TakesOblongCut).
class NoConversionMethod : public ConversionMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
