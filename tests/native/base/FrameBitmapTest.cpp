#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "base/FrameBitmap.h"

namespace tessivane {
namespace {

Bitmap Numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixelRgb(x, y, static_cast<uint32_t>(0xA00000 + y * 1000 + x + 1));
  return b;
}

TEST(FrameBitmap, FourBytesPerPixelBlueGreenRedUnusedWithoutPadding) {
  FrameBitmap f(5, 2);
  EXPECT_EQ(f.Stride(), 20u);
  ConvertRect(f, 1, 1, Numbered(1, 1), 0, 0, 1, 1);
  const uint8_t* p = f.Data() + 20 + 4;
  EXPECT_EQ(p[0], 0x01);  // blue first
  EXPECT_EQ(p[1], 0x00);
  EXPECT_EQ(p[2], 0xA0);  // red third
  EXPECT_EQ(p[3], 0x00);  // the unused byte stays 0
  EXPECT_EQ(f.PixelRgb(1, 1), 0xA00001u);
}

TEST(FrameBitmap, SameSizeKeepsPixelsOtherSizeClearsBadSizesThrow) {
  FrameBitmap f(4, 4);
  ConvertRect(f, 0, 0, Numbered(4, 4), 0, 0, 4, 4);
  const uint8_t* before = f.Data();
  f.SetSize(4, 4);
  EXPECT_EQ(f.Data(), before);
  EXPECT_EQ(f.PixelRgb(3, 3), 0xA00000u + 3004);
  f.SetSize(2, 8);
  EXPECT_EQ(f.PixelRgb(1, 7), 0u);
  EXPECT_THROW(f.SetSize(-1, 5), std::length_error);
  EXPECT_THROW(f.SetSize(100000, 100000), std::length_error);
  EXPECT_EQ(f.Width(), 2);
  FrameBitmap g = std::move(f);
  EXPECT_EQ(g.Width(), 2);
  EXPECT_TRUE(f.Empty());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  EXPECT_EQ(f.Stride(), 0u);
}

TEST(ConvertRect, ClipsAgainstSourceAndDestination) {
  Bitmap src = Numbered(4, 4);
  FrameBitmap dst(3, 3);
  // The block starts left of and above the source and runs past dst.
  ConvertRect(dst, 1, 1, src, -1, -1, 10, 10);
  EXPECT_EQ(dst.PixelRgb(0, 0), 0u);  // nothing was read from (-1,-1)
  EXPECT_EQ(dst.PixelRgb(1, 1), 0u);
  EXPECT_EQ(dst.PixelRgb(2, 2), src.PixelRgb(0, 0));
  ConvertRect(dst, 0, 0, src, 4, 0, 2, 2);
  ConvertRect(dst, -5, 0, src, 0, 0, 2, 2);
  EXPECT_EQ(dst.PixelRgb(0, 0), 0u);
}

TEST(CopyFrameToBitmap, GivesTheSameColoursAndKeepsTheBuffer) {
  const Bitmap picture = Numbered(7, 3);  // odd width: padded 24-bit rows
  FrameBitmap frame(7, 3);
  ConvertRect(frame, 0, 0, picture, 0, 0, 7, 3);
  Bitmap back(7, 3);
  const uint8_t* buffer = back.Data();
  CopyFrameToBitmap(frame, back);
  EXPECT_EQ(back, picture);
  EXPECT_EQ(back.Data(), buffer);
}

}  // namespace
}  // namespace tessivane
