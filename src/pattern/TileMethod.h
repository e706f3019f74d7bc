// The tile: the quarter triangle standing on the bottom edge of the square
// cut (apex at its centre), mirrored across both diagonals, then mirrored
// both ways. Only that quarter of the cut is ever shown.
#pragma once
#include "pattern/TableclothMethod.h"

namespace tessivane {

// Tile as TableclothMethod: (2a - 2) x (2a - 2).
class TileMethod : public TableclothMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
