#include "images/RandomPicture.h"

#include <gtest/gtest.h>

#include <set>

#include "base/Random.h"

namespace tessivane {
namespace {

// FNV-1a over the visible bytes, row by row.
uint64_t Digest(const Bitmap& b) {
  uint64_t h = 1469598103934665603ull;
  for (int y = 0; y < b.Height(); ++y)
    for (int i = 0; i < b.Width() * 3; ++i) h = (h ^ b.Row(y)[i]) * 1099511628211ull;
  return h;
}

TEST(RandomImage, SameSeedSamePicture) {
  ScopedSeedSource seed(FixedSeed(12345));
  Bitmap a(640, 480), b(640, 480);
  b.Fill(1, 2, 3);  // whatever was there before is painted over
  MakeRandomImage(a, ProgramRandom());
  MakeRandomImage(b, ProgramRandom());
  EXPECT_EQ(a, b);
  // Pinned, so that a change of the drawing shows up here first.
  EXPECT_EQ(Digest(a), 13211112713234668476ull);
}

TEST(RandomImage, ShapesOnWhiteWithBlueBelowHalf) {
  ScopedSeedSource seed(FixedSeed(7));
  Bitmap b(640, 480);
  MakeRandomImage(b, ProgramRandom());
  int white = 0;
  std::set<uint32_t> colours;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      uint32_t rgb = b.PixelRgb(x, y);
      if (rgb == 0xFFFFFF) {
        ++white;
        continue;
      }
      colours.insert(rgb);
      ASSERT_LT(rgb & 0xFF, 0x80u) << x << "," << y;  // blue is the colour value's high byte
    }
  EXPECT_GT(white, 0);
  EXPECT_GT(colours.size(), 100u);
}

// A disc of radius 5 at (10, 10) covers the box 5..14 x 5..14: rows of
// 4, 8, 8, 10, 10 pixels from the top edge to the middle, then the same
// mirrored (80 pixels), centred on the box's centre line x = 9.5.
TEST(RandomImage, DiscRows) {
  Bitmap b(20, 20);
  b.Fill(255, 255, 255);
  PaintDisc(b, 10, 10, 5, 0x0000FF);  // red
  const int widths[] = {4, 8, 8, 10, 10, 10, 10, 8, 8, 4};
  for (int y = 0; y < 20; ++y) {
    int first = -1, count = 0;
    for (int x = 0; x < 20; ++x)
      if (b.PixelRgb(x, y) == 0xFF0000) {
        if (first < 0) first = x;
        ++count;
      }
    int expected = (y >= 5 && y < 15) ? widths[y - 5] : 0;
    EXPECT_EQ(count, expected) << "row " << y;
    if (count) {
      EXPECT_EQ(first, 10 - count / 2) << "row " << y;
    }
  }
}

// Squares leave out their right and bottom edge; both shapes clip.
TEST(RandomImage, SquareBoxAndClipping) {
  Bitmap b(20, 20);
  b.Fill(255, 255, 255);
  PaintSquare(b, 3, 18, 5, 0x00FF00);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(b.PixelRgb(x, y) == 0x00FF00, x < 8 && y >= 13) << x << "," << y;
  PaintDisc(b, -20, -20, 14, 0);
  PaintDisc(b, 0, 0, 14, 0);
  PaintSquare(b, 40, 40, 14, 0);
  EXPECT_EQ(b.PixelRgb(0, 0), 0u);
}

}  // namespace
}  // namespace tessivane
