// The random source picture: coloured discs and squares on white, drawn
// straight into the core bitmap so that the saver, its preview and the
// renderer paint the same picture for the same seed on every platform.
#pragma once
#include <cstdint>

#include "base/Bitmap.h"
#include "base/Random.h"

namespace tessivane {

// Re-seeds `random`, whitens `bitmap` (keeping its size)
// and paints 200 rounds of 15 shapes each: a colour (0..0x7FFFFF, read as
// 0xBBGGRR), a radius r of 5..14 and a shape (0 disc, 1 square) are drawn
// per round, then x and y per shape.
//
// Both shapes cover the pixel box x - r .. x + r - 1, y - r .. y + r - 1
// (right and bottom edges excluded), clipped to the bitmap. A square fills
// the whole box. A disc is the circle inscribed in that box, outline
// included: pixel (px, py) belongs to it when its centre lies within the
// circle of radius r about the box centre, that is
//   (2 px + 1 - 2 x)^2 + (2 py + 1 - 2 y)^2 <= 4 r^2.
// The outline is one pixel wide in the fill colour, so it adds nothing
// beyond that set.
void MakeRandomImage(Bitmap& bitmap, RandomGenerator& random);

// The two shapes, in colour 0xBBGGRR, clipped to the bitmap.
void PaintDisc(Bitmap& bitmap, int x, int y, int r, uint32_t colour);
void PaintSquare(Bitmap& bitmap, int x, int y, int r, uint32_t colour);

}  // namespace tessivane
