/* waves: wavy bands, mirrored in one direction only (symmetry types 2 and 3).

   Built as it is, the plug-in answers type 2: the saver mirrors the area to
   the right, so side by side the copies of the tile join on mirror lines.
   Upwards nothing is mirrored, so the plug-in folds the picture itself:
   going up the area, the rows run up the cut and back down again, and
   each column is shifted along a sine wave. The tile's top and bottom rows
   then both show the cut's bottom edge, and the copies above one another
   join without a hard seam.

   Built with WAVES_DOWN defined, the same happens turned a quarter: the
   plug-in folds the columns, shifts each row along the wave and answers
   type 3, mirrored downwards. */
#include <math.h>

#include "TessivanePlugin.h"

static const double kPi = 3.14159265358979323846;

static int32_t cutW, cutH;

int32_t TESSIVANE_PLUGIN_CALL TessivaneDLL(void) { return TESSIVANE_PLUGIN_ID; }

int32_t TESSIVANE_PLUGIN_CALL MakeImageSize(int32_t cutWidth, int32_t cutHeight, int32_t* tileWidth,
                                            int32_t* tileHeight) {
  cutW = cutWidth;
  cutH = cutHeight;
  *tileWidth = cutWidth;
  *tileHeight = cutHeight;
  return 0;
}

/* Position `at` of `length` positions, run up to the cut's far edge and back
   (the cut has `size` pixels that way), shifted by a sine of `along` (one
   full wave over `waveLength`). Always within 0..size-1. */
static int32_t FoldedWave(int32_t at, int32_t length, int32_t along, int32_t waveLength, int32_t size) {
  const int32_t period = 2 * (size - 1);
  const double shift = (size / 5.0) * sin(2 * kPi * along / waveLength);
  int32_t u = (int32_t)floor(2.0 * at * (size - 1) / (length - 1) + shift + 0.5);
  u %= period;
  if (u < 0) u += period;
  return u <= size - 1 ? u : period - u;
}

int32_t TESSIVANE_PLUGIN_CALL MakeTransMethod(int32_t tileWidth, int32_t tileHeight, int32_t x, int32_t y,
                                              int32_t* sourceX, int32_t* sourceY) {
#if defined(WAVES_DOWN)
  *sourceX = FoldedWave(x, tileWidth, y, tileHeight, cutW);
  *sourceY = y;
#else
  *sourceX = x;
  *sourceY = FoldedWave(y, tileHeight, x, tileWidth, cutH);
#endif
  return 0;
}

int32_t TESSIVANE_PLUGIN_CALL SymmetryType(void) {
#if defined(WAVES_DOWN)
  return TESSIVANE_SYMMETRY_DOWN;
#else
  return TESSIVANE_SYMMETRY_RIGHT;
#endif
}
