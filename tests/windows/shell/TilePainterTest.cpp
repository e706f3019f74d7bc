#include "shell/FramePainter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace tessivane {
namespace {

// The saver window's painting: each Paint shows its own tile (a pattern
// kept from an earlier tile of the same size would show that one), from
// the DC's origin, whatever the tile's size, and Repaint shows the last.
TEST(TilePainter, RepeatsEachPaintedTileFromTheOrigin) {
  constexpr int kWidth = 23;
  constexpr int kHeight = 17;
  const BITMAPINFO info = TopDownDib(kWidth, kHeight);
  void* bits = nullptr;
  ScopedGdiObject<HBITMAP> target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedMemoryDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(target && dc && bits);
  ScopedSelect select(dc.get(), target.get());
  const auto* screen = static_cast<const uint32_t*>(bits);
  auto expectTile = [&](const FrameBitmap& tile) {
    GdiFlush();
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(screen[y * kWidth + x] & 0xFFFFFF, tile.PixelRgb(x % tile.Width(), y % tile.Height()))
            << x << "," << y;
  };
  TilePainter painter;
  FrameBitmap tile;
  // Width, height, colour seed: twice one size, then a new size, then one
  // larger than the target.
  for (const auto [w, h, seed] :
       {std::array{4, 3, 1}, std::array{4, 3, 2}, std::array{7, 5, 3}, std::array{30, 20, 4}}) {
    SCOPED_TRACE(seed);
    tile = FrameBitmap(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) tile.Row(y)[x] = static_cast<uint32_t>(seed << 16 | y << 8 | x);
    painter.Paint(dc.get(), tile, kWidth, kHeight);
    expectTile(tile);
  }
  std::memset(bits, 0, sizeof(uint32_t) * kWidth * kHeight);
  painter.Repaint(dc.get(), kWidth, kHeight);
  expectTile(tile);
}

}  // namespace
}  // namespace tessivane
