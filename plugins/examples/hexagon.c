/* hexagon: a six-fold mirror kaleidoscope (symmetry type 4).

   Six mirrors meet at the centre of every hexagon of a honeycomb, at 30
   degrees to each other: each hexagon shows one small right triangle of
   the cut (angles 30, 60 and 90 degrees) twelve times. None of the saver's
   own methods makes this pattern.

   How it fits the saver's mirroring: type 4 mirrors the area to the right
   and then downwards, so the tile is (2W - 2) x (2H - 2) pixels and its
   copies meet on mirror lines. The honeycomb has mirror lines there too if
   the tile is one rectangular cell of it: a x a * sqrt(3), with a hexagon
   centre at each corner and one in the middle. So the area is a quarter of
   that cell, W = a / 2 + 1 by H = a * sqrt(3) / 2 + 1, and every position
   is folded into the triangle of the hexagon it lies in. */
#include <math.h>

#include "TessivanePlugin.h"

static const double kPi = 3.14159265358979323846;
static const double kRoot3 = 1.73205080756887729353;

/* The cut's size, kept from MakeImageSize for MakeTransMethod. */
static int32_t cutW, cutH;

int32_t TESSIVANE_PLUGIN_CALL TessivaneDLL(void) { return TESSIVANE_PLUGIN_ID; }

/* W from the cut's width: a hexagon a little larger than half the cut. H
   follows from W; W up to 148 keeps H within 256. */
int32_t TESSIVANE_PLUGIN_CALL MakeImageSize(int32_t cutWidth, int32_t cutHeight, int32_t* tileWidth,
                                            int32_t* tileHeight) {
  int32_t w = cutWidth * 3 / 4;
  if (w < TESSIVANE_MIN_SIDE) w = TESSIVANE_MIN_SIDE;
  if (w > 148) w = 148;
  cutW = cutWidth;
  cutH = cutHeight;
  *tileWidth = w;
  *tileHeight = (int32_t)floor((w - 1) * kRoot3 + 0.5) + 1;
  return 0;
}

int32_t TESSIVANE_PLUGIN_CALL MakeTransMethod(int32_t tileWidth, int32_t tileHeight, int32_t x, int32_t y,
                                              int32_t* sourceX, int32_t* sourceY) {
  const double a = 2.0 * (tileWidth - 1); /* distance between hexagon centres */
  const double rowStep = a * kRoot3 / 2;
  double bestX = 0, bestY = 0, best = -1;
  int i, j;
  double dx, dy, r, angle, fx, fy, scale;
  (void)tileHeight;
  /* The nearest hexagon centre: centres lie at (i a + j a / 2, j rowStep). */
  for (j = -1; j <= 2; ++j) {
    for (i = -2; i <= 2; ++i) {
      const double cx = i * a + j * a / 2;
      const double cy = j * rowStep;
      const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (best < 0 || d < best) {
        best = d;
        bestX = cx;
        bestY = cy;
      }
    }
  }
  dx = x - bestX;
  dy = y - bestY;
  r = sqrt(dx * dx + dy * dy);
  /* Fold the direction into 0..30 degrees: six sectors of 60 degrees, each
     mirrored about its middle. */
  angle = atan2(dy, dx);
  if (angle < 0) angle += 2 * kPi;
  angle = fmod(angle, kPi / 3);
  if (angle > kPi / 6) angle = kPi / 3 - angle;
  fx = r * cos(angle); /* 0..a/2 */
  fy = r * sin(angle); /* 0..fx / sqrt(3) */
  /* The triangle's long leg spans the cut's width. */
  scale = (cutW - 1) / (a / 2);
  *sourceX = (int32_t)(fx * scale + 0.5);
  *sourceY = (int32_t)(fy * scale + 0.5);
  if (*sourceX > cutW - 1) *sourceX = cutW - 1;
  if (*sourceY > cutH - 1) *sourceY = cutH - 1;
  return 0;
}

int32_t TESSIVANE_PLUGIN_CALL SymmetryType(void) { return TESSIVANE_SYMMETRY_RIGHT_DOWN; }
