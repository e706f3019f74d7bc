/* identity: the cut as it is (symmetry type 1).

   The smallest complete plug-in: it maps an area the size of the cut and
   shows at every position the cut's own pixel there. Repeated over the
   screen, the copies meet with visible seams, like the saver's "no
   conversion" method. Start from this file to write your own. */
#include "TessivanePlugin.h"

/* The saver asks this first: 1 says "written for Tessivane". */
int32_t TESSIVANE_PLUGIN_CALL TessivaneDLL(void) { return TESSIVANE_PLUGIN_ID; }

/* The area is the cut itself. The saver gives a cut of 32..256 pixels a
   side, so it is always within the limits; a plug-in that maps something
   else must keep each side within 32..256 itself. */
int32_t TESSIVANE_PLUGIN_CALL MakeImageSize(int32_t cutWidth, int32_t cutHeight, int32_t* tileWidth,
                                            int32_t* tileHeight) {
  *tileWidth = cutWidth;
  *tileHeight = cutHeight;
  return 0;
}

/* Position (x, y) shows cut pixel (x, y). Both count y from the bottom, so
   nothing turns upside down. */
int32_t TESSIVANE_PLUGIN_CALL MakeTransMethod(int32_t tileWidth, int32_t tileHeight, int32_t x, int32_t y,
                                              int32_t* sourceX, int32_t* sourceY) {
  (void)tileWidth;
  (void)tileHeight;
  *sourceX = x;
  *sourceY = y;
  return 0;
}

/* No mirroring: the tile is the area. */
int32_t TESSIVANE_PLUGIN_CALL SymmetryType(void) { return TESSIVANE_SYMMETRY_NONE; }
