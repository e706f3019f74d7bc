#include "images/PictureEffects.h"

#include <algorithm>
#include <vector>

#include "base/Numeric.h"
#include "images/RgbColour.h"

namespace tessivane {

void BlurBitmap(Bitmap& picture) {
  const int w = picture.Width();
  const int h = picture.Height();
  if (w == 0 || h == 0) return;
  // Every output is computed from the unchanged values. Row i needs the
  // unchanged rows i-1, i and i+1; rows below i are not written yet, so
  // only the unchanged rows i-1 and i are kept aside, and a picture at the
  // size limit is never held twice.
  const size_t rowBytes = static_cast<size_t>(w) * 3;
  std::vector<uint8_t> above(rowBytes);
  std::vector<uint8_t> current(rowBytes);
  std::copy_n(picture.Row(0), rowBytes, current.data());
  above = current;  // the top row is its own upper neighbour

  for (int i = 0; i < h; ++i) {
    const uint8_t* below = i + 1 < h ? picture.Row(i + 1) : current.data();
    const uint8_t* rows[3] = {above.data(), current.data(), below};
    uint8_t* out = picture.Row(i);
    for (int j = 0; j < w; ++j) {
      const size_t cols[3] = {static_cast<size_t>(std::max(j - 1, 0)) * 3, static_cast<size_t>(j) * 3,
                              static_cast<size_t>(std::min(j + 1, w - 1)) * 3};
      for (int c = 0; c < 3; ++c) {
        int sum = rows[1][cols[1] + c];  // the centre counts twice
        for (const uint8_t* r : rows)
          for (size_t col : cols) sum += r[col + c];
        out[cols[1] + c] = static_cast<uint8_t>(sum / 10);
      }
    }
    if (i + 1 < h) {
      above.swap(current);
      std::copy_n(picture.Row(i + 1), rowBytes, current.data());
    }
  }
}

void MonotoneBitmap(Bitmap& picture) {
  RgbColour rgb;
  for (int row = 0; row < picture.Height(); ++row) {
    uint8_t* p = picture.Row(row);
    for (int col = 0; col < picture.Width(); ++col, p += 3) {
      rgb.SetB(p[0]);
      rgb.SetG(p[1]);
      rgb.SetR(p[2]);
      auto grey = static_cast<uint8_t>(Round(Extended{rgb.GetY()} * 255));
      p[0] = p[1] = p[2] = grey;
    }
  }
}

}  // namespace tessivane
