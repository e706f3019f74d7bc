// The picture that the paint floors (benchmarks/windows and benchmarks/x11)
// show: any picture will do as long as it is not one colour, so a few bands
// of colour that change along both axes.
#pragma once
#include <cstdint>

#include "base/FrameBitmap.h"

namespace tessivane {

inline void FillFloorPicture(FrameBitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x)
      row[x] = (static_cast<uint32_t>(x * 7) & 0xFF) | ((static_cast<uint32_t>(y * 5) & 0xFF) << 8) |
               ((static_cast<uint32_t>((x + y) * 3) & 0xFF) << 16);
  }
}

}  // namespace tessivane
