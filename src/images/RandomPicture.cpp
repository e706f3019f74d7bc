#include "images/RandomPicture.h"

#include <algorithm>
#include <cstdint>

#include "base/Random.h"

namespace tessivane {
namespace {

constexpr int kRounds = 200;
constexpr int kShapesPerRound = 15;

struct Colour {
  uint8_t blue, green, red;
};

// A colour value 0xBBGGRR: red is the low byte.
Colour FromValue(uint32_t value) {
  return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

// Fills pixels x0..x1-1 of row y.
void FillSpan(Bitmap& bitmap, int y, int x0, int x1, Colour c) {
  uint8_t* p = bitmap.Row(y) + 3 * x0;
  for (int x = x0; x < x1; ++x, p += 3) {
    p[0] = c.blue;
    p[1] = c.green;
    p[2] = c.red;
  }
}

void FillSquare(Bitmap& bitmap, int cx, int cy, int r, Colour c) {
  int x0 = std::max(cx - r, 0), x1 = std::min(cx + r, bitmap.Width());
  int y0 = std::max(cy - r, 0), y1 = std::min(cy + r, bitmap.Height());
  for (int y = y0; y < y1; ++y) FillSpan(bitmap, y, x0, x1, c);
}

void FillDisc(Bitmap& bitmap, int cx, int cy, int r, Colour c) {
  int y0 = std::max(cy - r, 0), y1 = std::min(cy + r, bitmap.Height());
  for (int y = y0; y < y1; ++y) {
    int ey = 2 * y + 1 - 2 * cy;
    int limit = 4 * r * r - ey * ey;
    // Half-width of the row: the largest k with (2k - 1)^2 <= limit, so the
    // row covers cx - k .. cx + k - 1.
    int k = 0;
    while ((2 * k + 1) * (2 * k + 1) <= limit) ++k;
    int x0 = std::max(cx - k, 0), x1 = std::min(cx + k, bitmap.Width());
    if (x0 < x1) FillSpan(bitmap, y, x0, x1, c);
  }
}

}  // namespace

void PaintDisc(Bitmap& bitmap, int x, int y, int r, uint32_t colour) {
  FillDisc(bitmap, x, y, r, FromValue(colour));
}

void PaintSquare(Bitmap& bitmap, int x, int y, int r, uint32_t colour) {
  FillSquare(bitmap, x, y, r, FromValue(colour));
}

void MakeRandomImage(Bitmap& bitmap, RandomGenerator& random) {
  random.Randomize();
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  bitmap.Fill(255, 255, 255);
  for (int round = 0; round < kRounds; ++round) {
    uint32_t value = random.Int(0x800000);
    int r = 5 + static_cast<int>(random.Int(10));
    uint32_t shape = random.Int(2);
    for (int i = 0; i < kShapesPerRound; ++i) {
      int x = static_cast<int>(random.Int(static_cast<uint32_t>(width)));
      int y = static_cast<int>(random.Int(static_cast<uint32_t>(height)));
      if (shape == 0)
        PaintDisc(bitmap, x, y, r, value);
      else
        PaintSquare(bitmap, x, y, r, value);
    }
  }
}

}  // namespace tessivane
