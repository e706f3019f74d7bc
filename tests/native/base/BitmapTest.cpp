#include "base/Bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace tessivane {
namespace {

Bitmap Numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixelRgb(x, y, static_cast<uint32_t>(y * 1000 + x + 1));
  return b;
}

TEST(Bitmap, RowsArePaddedToFourBytesAndBytesAreBlueGreenRed) {
  Bitmap b(5, 2);
  EXPECT_EQ(b.Stride(), 16u);
  b.SetPixelRgb(1, 1, 0x112233);
  EXPECT_EQ(b.Row(1)[3], 0x33);  // blue first
  EXPECT_EQ(b.Row(1)[5], 0x11);  // red last
}

TEST(Bitmap, SameSizeKeepsPixelsOtherSizeClears) {
  Bitmap b(4, 4);
  b.Fill(1, 2, 3);
  const uint8_t* before = b.Data();
  b.SetSize(4, 4);
  EXPECT_EQ(b.Data(), before);
  EXPECT_EQ(b.PixelRgb(3, 3), 0x030201u);
  b.SetSize(2, 8);
  EXPECT_EQ(b.PixelRgb(1, 7), 0u);
}

TEST(Bitmap, MovingHandsThePixelsOverAndLeavesAnEmptyBitmap) {
  Bitmap a = Numbered(5, 3);
  const uint8_t* pixels = a.Data();
  Bitmap b = std::move(a);
  EXPECT_EQ(b.Data(), pixels);
  EXPECT_EQ(b.PixelRgb(4, 2), 2005u);
  EXPECT_TRUE(a.Empty());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  EXPECT_EQ(a.Width(), 0);
  EXPECT_EQ(a.Stride(), 0u);
  a = std::move(b);
  EXPECT_EQ(a.Data(), pixels);
  EXPECT_TRUE(b.Empty());  // NOLINT(bugprone-use-after-move)
}

TEST(Bitmap, RefusesNegativeAndHugeSizes) {
  Bitmap b;
  EXPECT_THROW(b.SetSize(-1, 5), std::length_error);
  EXPECT_THROW(b.SetSize(100000, 100000), std::length_error);
  EXPECT_TRUE(b.Empty());
}

TEST(CopyRect, ClipsAgainstSourceAndDestination) {
  Bitmap src = Numbered(4, 4);
  Bitmap dst(3, 3);
  dst.Fill(0xEE, 0xEE, 0xEE);
  // The block starts left of and above the source and runs past dst.
  CopyRect(dst, 1, 1, src, -1, -1, 10, 10);
  EXPECT_EQ(dst.PixelRgb(0, 0), 0xEEEEEEu);  // nothing was read from (-1,-1)
  EXPECT_EQ(dst.PixelRgb(1, 1), 0xEEEEEEu);
  EXPECT_EQ(dst.PixelRgb(2, 2), src.PixelRgb(0, 0));
  // Entirely outside: nothing happens.
  CopyRect(dst, 0, 0, src, 4, 0, 2, 2);
  CopyRect(dst, -5, 0, src, 0, 0, 2, 2);
  EXPECT_EQ(dst.PixelRgb(0, 0), 0xEEEEEEu);
}

TEST(CopyRect, CopiesWithinOneBitmapForDoubling) {
  Bitmap b = Numbered(8, 1);
  CopyRect(b, 2, 0, b, 0, 0, 2, 1);
  EXPECT_EQ(b.PixelRgb(2, 0), b.PixelRgb(0, 0));
  EXPECT_EQ(b.PixelRgb(3, 0), b.PixelRgb(1, 0));
}

}  // namespace
}  // namespace tessivane
