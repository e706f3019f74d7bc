// Tile writing shared by the conversion methods. The methods paint their
// mapped area straight into Tile and complete it by mirrored writes and row
// copies: no work bitmap, nothing allocated once Tile has its size.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/Bitmap.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Paints the w x h area of the unit's TileMap into Tile: map row y (from the
// bottom) becomes tile row h - 1 - y, map column x tile column x. With
// mirrorColumns, columns 1..w-2 are also written to column 2w - 2 - x, so
// the row reads forwards and then backwards without doubling its first and
// last pixel. Whatever falls outside Tile is skipped.
inline void PaintMappedArea(ConversionMethod& unit, int w, int h, bool mirrorColumns) {
  Bitmap& tile = unit.Tile;
  const int columns = std::min(w, tile.Width());
  const int rows = std::min(h, tile.Height());  // map rows h - rows .. h - 1 fall inside
  // TileMap and Pixels are indexed [x][y], so a run of x is a run of
  // strides. Bands of 16 columns keep the lines they touch in the cache
  // while the rows are painted.
  constexpr int kBand = 16;
  for (int x0 = 0; x0 < columns; x0 += kBand) {
    const int x1 = std::min(x0 + kBand, columns);
    for (int y = h - rows; y < h; ++y) {
      uint8_t* p = tile.Row(h - 1 - y) + 3 * x0;
      for (int x = x0; x < x1; ++x, p += 3) {
        const int32_t point = unit.TileMap[x][y];
        const ConversionMethod::Channels& c =
            unit.Pixels[ConversionMethod::PointX(point)][ConversionMethod::PointY(point)];
        p[0] = static_cast<uint8_t>(c.Blue);
        p[1] = static_cast<uint8_t>(c.Green);
        p[2] = static_cast<uint8_t>(c.Red);
      }
    }
  }
  if (mirrorColumns && 2 * w - 2 <= tile.Width()) {
    for (int row = 0; row < rows; ++row) {
      uint8_t* out = tile.Row(row);
      for (int x = 1; x <= w - 2; ++x) std::memcpy(out + 3 * (2 * w - 2 - x), out + 3 * x, 3);
    }
  }
}

// Rows 2h - 2 - y := row y for y in 1..h-2: the first h rows read downwards
// and then back up, without doubling row 0 or row h - 1.
inline void MirrorRows(Bitmap& tile, int h) {
  const size_t bytes = static_cast<size_t>(tile.Width()) * 3;
  for (int y = 1; y <= h - 2; ++y) {
    const int target = 2 * h - 2 - y;
    if (target < tile.Height()) std::memcpy(tile.Row(target), tile.Row(y), bytes);
  }
}

// The mirrored tile of the square methods: the w x h mapped area, mirrored
// to the right and downwards, (2w - 2) x (2h - 2) pixels. Repeated, its
// copies meet on the mirror axes (columns 0 and w - 1, rows 0 and h - 1),
// so they join without a seam.
inline void MakeMirroredTile(ConversionMethod& unit, int w, int h) {
  unit.Tile.SetSize(std::max(2 * w - 2, 0), std::max(2 * h - 2, 0));
  PaintMappedArea(unit, w, h, true);
  MirrorRows(unit.Tile, h);
}

// Fills PointMap with the identity over width x height (x outer, y inner)
// and shuffles it when the method says so.
void FillIdentityPointMap(ConversionMethod& unit, int width, int height);
// The identity fill, then TileMap := PointMap over width x height: the map
// of the methods that show the whole cut.
void BuildWholeCutMap(ConversionMethod& unit, int width, int height);

// Side M = Round(sqrt 2 * W / 2) of the quarter that the floral and spiral
// methods map for a cut of width W.
int QuarterSide(int cutWidth);

// The quarter tile of the rotating methods: the M x M quarter painted from
// TileMap (quarter row 0 at the bottom) and mirrored to the right and
// downwards, (2M - 2) x (2M - 2) pixels.
inline void MakeQuarterTile(ConversionMethod& unit, int m) { MakeMirroredTile(unit, m, m); }

}  // namespace tessivane
