// Helpers for the conversion-method tests: cut pictures and tile readers.
#pragma once
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "base/Bitmap.h"
#include "pattern/ConversionMethod.h"

namespace tessivane::testing {

// A cut whose every pixel names its own position in unit coordinates:
// red = x, green = y counted from the BOTTOM row, blue = 7. Reading a tile
// pixel back gives the cut point it shows.
inline Bitmap CoordinateCut(int w, int h) {
  Bitmap b(w, h);
  for (int row = 0; row < h; ++row) {
    uint8_t* p = b.Row(row);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = 7;
      p[1] = static_cast<uint8_t>(h - 1 - row);
      p[2] = static_cast<uint8_t>(x);
    }
  }
  return b;
}

inline Bitmap FlatCut(int w, int h, uint32_t rgb) {
  Bitmap b(w, h);
  b.Fill(static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16));
  return b;
}

// The cut point (x, y from the bottom) that a tile pixel of a coordinate
// cut shows.
struct CutPoint {
  int x, y;
  friend bool operator==(const CutPoint&, const CutPoint&) = default;
};
inline CutPoint PointAt(const Bitmap& tile, int column, int row) {
  uint32_t rgb = tile.PixelRgb(column, row);
  return {int(rgb >> 16), int((rgb >> 8) & 255)};
}

inline bool ColumnsEqual(const Bitmap& t, int a, int b) {
  for (int y = 0; y < t.Height(); ++y)
    if (t.PixelRgb(a, y) != t.PixelRgb(b, y)) return false;
  return true;
}
inline bool RowsEqual(const Bitmap& t, int a, int b) {
  for (int x = 0; x < t.Width(); ++x)
    if (t.PixelRgb(x, a) != t.PixelRgb(x, b)) return false;
  return true;
}

// Sets a unit up for a w x h cut (shuffle off) and makes one tile.
template <class Unit>
void MakeTileOf(Unit& unit, const Bitmap& cut) {
  ASSERT_EQ(unit.Setup({cut.Width(), cut.Height()}, false, ProgramRandom()).number, 0);
  ASSERT_EQ(unit.Make(cut).number, 0);
}

}  // namespace tessivane::testing
