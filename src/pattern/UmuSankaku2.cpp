#include "pattern/UmuSankaku2.h"

namespace tessivane {

void TSankaku2::LoadPixels() {
  TMakeUnit::LoadPixels();
  for (int y = 0; y < CutHeight; ++y)
    for (int x = CutWidth / 2; x < CutWidth; ++x) Pixels[x][y] = Pixels[CutWidth - 1 - x][y];
}

}  // namespace tessivane
