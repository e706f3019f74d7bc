// The one tile painter of the conversion methods: every method's answer
// (its area, symmetry and map) and the frame's cut pixels make the tile.
// The mapped area is painted straight into the tile and completed by
// mirrored writes and row copies: no work bitmap, nothing allocated once
// the tile has its size.
#pragma once
#include <cstdint>

#include "base/Bitmap.h"
#include "base/Point.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Sets `tile` to the size ConversionMethod::TileSizeFor gives and paints
// it: map row y (from the bottom) of the area becomes tile row
// area.y - 1 - y, map column x tile column x; mirrored to the right,
// column 2w - 2 - x repeats column x for x in 1..w-2; mirrored downwards,
// row 2h - 2 - y repeats row y for y in 1..h-2. So the first and last
// column and row of the area occur once, and copies of a mirrored tile
// meet on the mirror axes without a seam.
void PaintMappedTile(Bitmap& tile, const ConversionMethod::AreaMap& map,
                     const ConversionMethod::CutPixels& pixels, Point area, int32_t symmetry);

// Side M = Round(sqrt 2 * W / 2) of the quarter that the floral and spiral
// methods map for a cut of width W.
int QuarterSide(int cutWidth);

}  // namespace tessivane
