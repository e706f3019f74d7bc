// For every cut size the composer can produce: a flat cut gives a flat tile
// (every tile position is written), and the tile repeated beside and below
// itself joins without a seam where the method promises it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/Numeric.h"
#include "pattern/MethodTestSupport.h"
#include "pattern/UmuNone.h"
#include "pattern/UmuRotateCompress.h"
#include "pattern/UmuSankaku.h"
#include "pattern/UmuSankaku2.h"
#include "pattern/UmuSharp.h"
#include "pattern/UmuShikaku.h"
#include "pattern/UmuSpin.h"
#include "pattern/UmuTShikaku.h"
#include "pattern/UmuThShikaku.h"

namespace tessivane {
namespace {

using namespace tessivane::testing;

constexpr uint32_t kFlat = 0xC86311;

// Square cuts: every even side from 32 to 256 (the composer makes the
// multiples of 4; the renderer's --cut takes any even side). The two
// methods that clamp their source points, and whose maps are the costly
// ones, are run on the composer's sizes only.
std::vector<Point> SquareCuts(int step = 2) {
  std::vector<Point> sizes;
  for (int a = 32; a <= 256; a += step) sizes.push_back({a, a});
  return sizes;
}

// Oblong cuts: each unit size 4..64 x 4 with each aspect step -5..5, the
// short side Round(size * (1 - |step| * 0.18)).
std::vector<Point> OblongCuts() {
  std::vector<Point> sizes;
  for (int u = 32; u <= 256; u += 4)
    for (int step = -5; step <= 5; ++step) {
      const int side = static_cast<int>(Round(u * (1 - std::abs(step) * Extended{0.18})));
      sizes.push_back(step > 0 ? Point{side, u} : Point{u, side});
    }
  return sizes;
}

void ExpectFlat(const Bitmap& tile, Point cut) {
  for (int y = 0; y < tile.Height(); ++y)
    for (int x = 0; x < tile.Width(); ++x)
      ASSERT_EQ(tile.PixelRgb(x, y), kFlat) << cut.x << "x" << cut.y << " at " << x << "," << y;
}

// Mirror axes at columns 0 and w/2, rows 0 and h/2: column w - x equals
// column x and row h - y equals row y, so copies placed side by side and
// one above the other continue the picture mirrored instead of breaking it.
void ExpectMirrorSeams(const Bitmap& tile, Point cut, bool columns, bool rows) {
  const int w = tile.Width(), h = tile.Height();
  if (columns) {
    for (int x = 1; x < w / 2; ++x) ASSERT_TRUE(ColumnsEqual(tile, x, w - x)) << cut.x << "x" << cut.y << " col " << x;
  }
  if (rows) {
    for (int y = 1; y < h / 2; ++y) ASSERT_TRUE(RowsEqual(tile, y, h - y)) << cut.x << "x" << cut.y << " row " << y;
  }
}

template <class Unit>
void CheckSizes(const std::vector<Point>& sizes, bool mirrored) {
  auto unit = std::make_unique<Unit>();
  for (Point size : sizes) {
    ASSERT_TRUE(unit->Setup(size, false)) << size.x << "x" << size.y << " error " << unit->ErrorNo;
    ASSERT_TRUE(unit->Make(FlatCut(size.x, size.y, kFlat)));
    ExpectFlat(unit->Tile, size);
    if (mirrored) {
      ASSERT_TRUE(unit->Make(CoordinateCut(size.x, size.y)));
      ExpectMirrorSeams(unit->Tile, size, true, true);
    }
  }
}

TEST(MethodProperties, Shikaku) { CheckSizes<TShikaku>(OblongCuts(), true); }
TEST(MethodProperties, None) { CheckSizes<TNone>(OblongCuts(), false); }
TEST(MethodProperties, TShikaku) { CheckSizes<TTShikaku>(SquareCuts(), true); }
TEST(MethodProperties, ThTShikaku) { CheckSizes<ThTShikaku>(SquareCuts(), true); }
TEST(MethodProperties, Sharp) { CheckSizes<TSharp>(SquareCuts(), true); }
TEST(MethodProperties, RotateCompress) { CheckSizes<TRotateCompress>(SquareCuts(4), true); }
TEST(MethodProperties, Spin) { CheckSizes<TSpin>(SquareCuts(4), true); }

// The largest distance between the cut points shown by two neighbouring
// pixels, over the pairs selected by `pair`.
template <class Pairs>
int LargestStep(const Bitmap& tile, Pairs pairs) {
  int largest = 0;
  pairs([&](int x0, int y0, int x1, int y1) {
    CutPoint a = PointAt(tile, x0, y0), b = PointAt(tile, x1, y1);
    largest = std::max({largest, std::abs(a.x - b.x), std::abs(a.y - b.y)});
  });
  return largest;
}

// The triangle strip is periodic rather than mirrored at its ends: the step
// from the last column to the first (the next copy) is no larger than the
// steps inside the tile, and the rows mirror about row 0 and row r - 1.
template <class Unit>
void CheckTriangleSizes() {
  auto unit = std::make_unique<Unit>();
  for (Point size : SquareCuts()) {
    ASSERT_TRUE(unit->Setup(size, false)) << size.x;
    ASSERT_TRUE(unit->Make(FlatCut(size.x, size.y, kFlat)));
    ExpectFlat(unit->Tile, size);
    ASSERT_TRUE(unit->Make(CoordinateCut(size.x, size.y)));
    const Bitmap& t = unit->Tile;
    ExpectMirrorSeams(t, size, false, true);
    const int w = t.Width(), h = t.Height();
    int inside = LargestStep(t, [&](auto f) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x + 1 < w; ++x) f(x, y, x + 1, y);
    });
    int seam = LargestStep(t, [&](auto f) {
      for (int y = 0; y < h; ++y) f(w - 1, y, 0, y);
    });
    ASSERT_LE(seam, inside) << size.x;
    ASSERT_LE(seam, 2) << size.x;
  }
}

TEST(MethodProperties, Sankaku) { CheckTriangleSizes<TSankaku>(); }
TEST(MethodProperties, Sankaku2) { CheckSizes<TSankaku2>(SquareCuts(), false); }

}  // namespace
}  // namespace tessivane
