#include "pattern/CarpetMethod.h"

namespace tessivane {

void CarpetMethod::LoadPixels() {
  ConversionMethod::LoadPixels();
  for (int y = 0; y < CutHeight; ++y)
    for (int x = CutWidth / 2; x < CutWidth; ++x) Pixels[x][y] = Pixels[CutWidth - 1 - x][y];
}

}  // namespace tessivane
