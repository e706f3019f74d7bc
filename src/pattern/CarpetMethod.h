// The carpet: the kaleidoscope of a cut made mirror-symmetric about its
// vertical centre line first, which gives a denser, rug-like pattern.
#pragma once
#include "pattern/KaleidoscopeMethod.h"

namespace tessivane {

class CarpetMethod : public KaleidoscopeMethod {
protected:
  // The kaleidoscope's map, with every point of the cut's right half
  // replaced by its mirror image in the left half: the map shows the cut
  // as if its right half mirrored its left.
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
