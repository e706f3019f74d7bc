// The carpet: the kaleidoscope of a cut made mirror-symmetric about its
// vertical centre line first, which gives a denser, rug-like pattern.
#pragma once
#include "pattern/KaleidoscopeMethod.h"

namespace tessivane {

class CarpetMethod : public KaleidoscopeMethod {
public:
  // Loads the cut, then replaces its right half by the mirror image of its
  // left half (every frame, before the tile is made).
  void LoadPixels() override;
};

}  // namespace tessivane
