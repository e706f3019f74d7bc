#include "pattern/TilePainting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Numeric.h"

namespace tessivane {
namespace {

// Paints the w x h area of `map` into the top rows of `tile`, with
// mirrorColumns also into columns 2w - 2 - x. Whatever falls outside the
// tile is skipped.
void PaintMappedArea(Bitmap& tile, const ConversionMethod::AreaMap& map,
                     const ConversionMethod::CutPixels& pixels, int w, int h, bool mirrorColumns) {
  const int columns = std::min(w, tile.Width());
  const int rows = std::min(h, tile.Height());  // map rows h - rows .. h - 1 fall inside
  // The map and the pixels are indexed [x][y], so a run of x is a run of
  // strides. Bands of 16 columns keep the lines they touch in the cache
  // while the rows are painted.
  constexpr int kBand = 16;
  for (int x0 = 0; x0 < columns; x0 += kBand) {
    const int x1 = std::min(x0 + kBand, columns);
    for (int y = h - rows; y < h; ++y) {
      uint8_t* p = tile.Row(h - 1 - y) + 3 * x0;
      for (int x = x0; x < x1; ++x, p += 3) {
        // Packed points are never negative: unsigned shifts and masks unpack
        // them in fewer steps than PointX and PointY, and keep even a
        // corrupt entry inside the pixel grid.
        const auto point = static_cast<uint32_t>(map[x][y]);
        const ConversionMethod::Channels& c = pixels[(point >> 8) & 255][point & 255];
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
void MirrorRows(Bitmap& tile, int h) {
  const size_t bytes = static_cast<size_t>(tile.Width()) * 3;
  for (int y = 1; y <= h - 2; ++y) {
    const int target = 2 * h - 2 - y;
    if (target < tile.Height()) std::memcpy(tile.Row(target), tile.Row(y), bytes);
  }
}

}  // namespace

void PaintMappedTile(Bitmap& tile, const ConversionMethod::AreaMap& map,
                     const ConversionMethod::CutPixels& pixels, Point area, int32_t symmetry) {
  const Point size = ConversionMethod::TileSizeFor(symmetry, area);
  tile.SetSize(size.x, size.y);
  const bool right =
      symmetry == ConversionMethod::kSymmetryRight || symmetry == ConversionMethod::kSymmetryRightDown;
  const bool down =
      symmetry == ConversionMethod::kSymmetryDown || symmetry == ConversionMethod::kSymmetryRightDown;
  PaintMappedArea(tile, map, pixels, area.x, area.y, right);
  if (down) MirrorRows(tile, area.y);
}

int QuarterSide(int cutWidth) { return static_cast<int>(Round(std::sqrt(Extended{2}) * cutWidth / 2)); }

}  // namespace tessivane
