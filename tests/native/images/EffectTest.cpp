#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/Bitmap.h"
#include "base/Errors.h"
#include "base/Numeric.h"
#include "images/PictureEffects.h"
#include "images/ImageEffect.h"
#include "images/RgbColour.h"

namespace tessivane {
namespace {

Bitmap Flat(int w, int h, uint32_t rgb) {
  Bitmap b(w, h);
  b.Fill(static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16));
  return b;
}

Bitmap Row(std::initializer_list<uint32_t> colours) {
  Bitmap b(static_cast<int>(colours.size()), 1);
  int x = 0;
  for (uint32_t c : colours) b.SetPixelRgb(x++, 0, c);
  return b;
}

// The colour conversion looks its terms up; every sum must still be the
// one the formulas give in extended precision, to the last bit (the
// brightness step and monotone feed them to rounding).
TEST(RgbColour, LumaAndColourDifferencesAreTheFormulasBitForBit) {
  RgbColour rgb;
  for (int32_t r = 0; r < 256; ++r)
    for (int32_t g = 0; g < 256; ++g)
      for (int32_t b : {0, 1, 2, 77, 127, 128, 200, 254, 255, (r + 3 * g) & 255}) {
        rgb.SetR(r);
        rgb.SetG(g);
        rgb.SetB(b);
        const auto y = static_cast<double>(r * 0.299L / 255 + g * 0.587L / 255 + b * 0.114L / 255);
        const auto cb =
            static_cast<double>((r / 255.0L) * (-0.169L) - (g / 255.0L) * 0.332L + (b / 255.0L) * 0.5L);
        const auto cr =
            static_cast<double>((r / 255.0L) * 0.5L - (g / 255.0L) * 0.419L - (b / 255.0L) * 0.081L);
        ASSERT_EQ(rgb.GetY(), y) << r << "," << g << "," << b;
        ASSERT_EQ(rgb.GetCb(), cb) << r << "," << g << "," << b;
        ASSERT_EQ(rgb.GetCr(), cr) << r << "," << g << "," << b;
      }
}

// The brightness step as plain formulas: luma and colour differences in
// extended precision stored as doubles, the luma moved, the channels
// rounded half to even and clamped.
uint32_t ReferenceBrightness(uint32_t rgb, double amount) {
  const int32_t r = static_cast<int32_t>(rgb >> 16), g = static_cast<int32_t>((rgb >> 8) & 0xFF),
                b = static_cast<int32_t>(rgb & 0xFF);
  auto y = static_cast<double>(r * 0.299L / 255 + g * 0.587L / 255 + b * 0.114L / 255);
  const auto cb = static_cast<double>((r / 255.0L) * (-0.169L) - (g / 255.0L) * 0.332L + (b / 255.0L) * 0.5L);
  const auto cr = static_cast<double>((r / 255.0L) * 0.5L - (g / 255.0L) * 0.419L - (b / 255.0L) * 0.081L);
  if (amount > 0)
    y = static_cast<double>(y + amount * (1 - Extended{y}));
  else
    y = static_cast<double>((1 - Extended{std::fabs(amount)}) * y);
  const auto channel = [](Extended v) -> uint32_t {
    const Extended scaled = v * 255;
    if (!(scaled > 0)) return 0;
    if (scaled > 255) return 255;
    return static_cast<uint32_t>(std::clamp<int64_t>(Round(scaled), 0, 255));
  };
  return channel(y + cr * 1.4026L) << 16 | channel(y - cr * 0.7144L - cb * 0.3444L) << 8 |
         channel(y + cb * 1.773L);
}

TEST(ImageEffect, BrightnessIsTheFormulasByteForByte) {
  Bitmap piece(256, 256);  // every red and green value, blue varied with them
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      piece.SetPixelRgb(x, y, static_cast<uint32_t>(x << 16 | y << 8 | ((x * 7 + y * 13) & 255)));
  ImageEffect effect;
  for (double amount : {0.01, -0.01, 0.1, -0.1, 0.29999999999999993, -0.3, 0.3, 0.5, -0.77, 1.0, -1.0}) {
    effect.SetImage(piece);
    effect.ChangeBrightness(amount);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        ASSERT_EQ(effect.GetResult().PixelRgb(x, y), ReferenceBrightness(piece.PixelRgb(x, y), amount))
            << amount << " at " << x << "," << y;
  }
}

TEST(ImageEffect, BrightnessMovesLumaTowardsWhiteOrBlack) {
  ImageEffect effect;
  effect.SetImage(Row({0x808080, 0xFF0000}));
  effect.ChangeBrightness(1);
  EXPECT_TRUE(effect.GetResult() == Row({0xFFFFFF, 0xFFB3B3}));  // red -> (255, 179, 179)
  effect.ChangeBrightness(-1);
  EXPECT_TRUE(effect.GetResult() == Row({0x000000, 0xB30000}));
  effect.ChangeBrightness(0.3);
  EXPECT_EQ(effect.GetResult().PixelRgb(0, 0), 0xA6A6A6u);  // 128 -> 166
}

TEST(ImageEffect, AmountZeroCopiesAndBadAmountsChangeNothing) {
  ImageEffect effect;
  Bitmap input = Row({0x3A7FD2, 0x010203, 0xFEFDFC});
  effect.SetImage(input);
  effect.ChangeBrightness(0.2);
  effect.ChangeBrightness(0);
  EXPECT_TRUE(effect.GetResult() == input);
  for (double bad : {1.5, -1.0001, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_THROW(effect.ChangeBrightness(bad), SilentAbort);
  EXPECT_TRUE(effect.GetResult() == input);
}

TEST(ImageEffect, FramesReuseTheResultBuffer) {
  ImageEffect effect;
  Bitmap piece = Flat(64, 48, 0x204060);
  effect.SetImage(piece);
  effect.ChangeBrightness(0.1);
  const uint8_t* pixels = effect.GetResult().Data();
  for (double amount : {0.2, -0.3, 0.0}) {
    effect.SetImage(piece);
    effect.ChangeBrightness(amount);
    EXPECT_EQ(effect.GetResult().Data(), pixels);
  }
  effect.SetImage(Flat(3, 2, 0x808080));  // a new piece size is taken over
  effect.ChangeBrightness(1);
  EXPECT_TRUE(effect.GetResult() == Flat(3, 2, 0xFFFFFF));
}

TEST(Effects, MonotoneUsesTheLuma) {
  Bitmap b = Row({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  MonotoneBitmap(b);
  EXPECT_TRUE(b == Row({0x4C4C4C, 0x969696, 0x1D1D1D, 0xFFFFFF}));  // 76, 150, 29, 255
}

TEST(Effects, BlurSpreadsAPixelOverItsNeighbours) {
  Bitmap b = Flat(5, 5, 0);
  b.SetPixelRgb(2, 2, 0xFFFFFF);
  BlurBitmap(b);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      bool near = x >= 1 && x <= 3 && y >= 1 && y <= 3;
      uint32_t expected = x == 2 && y == 2 ? 0x333333 : near ? 0x191919 : 0;  // 51, 25
      EXPECT_EQ(b.PixelRgb(x, y), expected) << x << "," << y;
    }
}

TEST(Effects, BlurRepeatsBorderPixelsAndKeepsChannelsApart) {
  Bitmap b = Flat(3, 3, 0);
  b.SetPixelRgb(0, 0, 0xFF0000);
  b.SetPixelRgb(2, 2, 0x0000C8);
  BlurBitmap(b);
  EXPECT_EQ(b.PixelRgb(0, 0), 0x7F0000u);  // a corner counts itself five times
  EXPECT_EQ(b.PixelRgb(1, 0), 0x330000u);  // twice as a clamped neighbour
  EXPECT_EQ(b.PixelRgb(1, 1), 0x190014u);

  Bitmap one = Flat(1, 1, 0x123456);
  BlurBitmap(one);
  EXPECT_EQ(one.PixelRgb(0, 0), 0x123456u);
  Bitmap flat = Flat(7, 3, 0x9ABCDE);
  BlurBitmap(flat);
  EXPECT_TRUE(flat == Flat(7, 3, 0x9ABCDE));
  Bitmap empty;
  BlurBitmap(empty);
}

}  // namespace
}  // namespace tessivane
