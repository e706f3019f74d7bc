#include <gtest/gtest.h>

#include <memory>

#include "pattern/MethodTestSupport.h"
#include "pattern/KaleidoscopeMethod.h"
#include "pattern/CarpetMethod.h"

namespace tessivane {
namespace {

using namespace tessivane::testing;

TEST(KaleidoscopeMethod, TileSizes) {
  auto unit = std::make_unique<KaleidoscopeMethod>();
  const struct { int cut, w, h; } cases[] = {{32, 96, 54}, {64, 192, 108}, {128, 384, 220}, {256, 768, 442}};
  for (const auto& c : cases) {
    MakeTileOf(*unit, FlatCut(c.cut, c.cut, 0x123456));
    EXPECT_EQ(unit->Tile().Width(), c.w) << c.cut;
    EXPECT_EQ(unit->Tile().Height(), c.h) << c.cut;
  }
}

// Marks the repeated column A of PointMap, so that a map entry that read
// column A (and not A - 1) can be told apart.
class MarkedKaleidoscope : public KaleidoscopeMethod {
public:
  void ShuffleMap() override {
    for (int y = 0; y <= Cut().x; ++y) PointMap[Cut().x][y] = PackPoint(200, y);
  }
};

// Pass 2 with j = 0 rounds X = (2A - i) / 2: a half for odd i, to even.
TEST(KaleidoscopeMethod, PassTwoRoundsHalvesToEven) {
  auto unit = std::make_unique<MarkedKaleidoscope>();
  ASSERT_EQ(unit->Setup({32, 32}, true, ProgramRandom()).number, 0);
  const int r = 28, m = 16, a = 32;
  // i = 1: X = 31.5 -> 32 (the marked column), Y = 0.87 -> 1.
  EXPECT_EQ(unit->Map()[1][r], ConversionMethod::PackPoint(200, 1));
  EXPECT_EQ(unit->Map()[m + a + 1][0], ConversionMethod::PackPoint(200, 1));
  // i = 3: X = 30.5 -> 30, Y = 2.60 -> 3.
  EXPECT_EQ(unit->Map()[3][r], ConversionMethod::PackPoint(30, 3));
  EXPECT_EQ(unit->Map()[m + a + 3][0], ConversionMethod::PackPoint(30, 3));
}

// U0 is the fundamental triangle unchanged: tile column M + x, row r-1-y
// shows cut point (x, y) inside the triangle.
TEST(KaleidoscopeMethod, UpwardTriangleIsTheCutUnchanged) {
  auto unit = std::make_unique<KaleidoscopeMethod>();
  for (int a : {32, 100, 256}) {
    MakeTileOf(*unit, CoordinateCut(a, a));
    const int m = a / 2;
    const int r = (unit->Tile().Height() + 2) / 2;
    for (int y = 1; y < r - 2; ++y) {
      // Strictly inside: two pixels away from both slanted sides.
      for (int x = 0; x < a; ++x) {
        double side = y / 1.7320508075688772;
        if (x < side + 2 || x > a - side - 2) continue;
        ASSERT_EQ(PointAt(unit->Tile(), m + x, r - 1 - y), (CutPoint{x, y})) << a << " " << x << "," << y;
      }
    }
  }
}

TEST(CarpetMethod, LeftHalfMirroredGivesNoBlue) {
  auto unit = std::make_unique<CarpetMethod>();
  for (int a : {32, 64, 256}) {
    Bitmap cut = FlatCut(a, a, 0xFF0000);
    for (int y = 0; y < a; ++y)
      for (int x = a / 2; x < a; ++x) cut.SetPixelRgb(x, y, 0x0000FF);
    MakeTileOf(*unit, cut);
    for (int y = 0; y < unit->Tile().Height(); ++y)
      for (int x = 0; x < unit->Tile().Width(); ++x)
        ASSERT_EQ(unit->Tile().PixelRgb(x, y), 0xFF0000u) << x << "," << y;
  }
}

// The carpet's tile is the kaleidoscope's of the cut whose right half
// mirrors its left.
TEST(CarpetMethod, RightHalfOfTheCutMirrorsTheLeft) {
  auto unit = std::make_unique<CarpetMethod>();
  const Bitmap cut = CoordinateCut(40, 40);
  MakeTileOf(*unit, cut);
  Bitmap mirrored = cut;
  for (int y = 0; y < 40; ++y)
    for (int x = 20; x < 40; ++x) mirrored.SetPixelRgb(x, y, cut.PixelRgb(39 - x, y));
  auto kaleidoscope = std::make_unique<KaleidoscopeMethod>();
  MakeTileOf(*kaleidoscope, mirrored);
  EXPECT_EQ(unit->Tile(), kaleidoscope->Tile());
}

}  // namespace
}  // namespace tessivane
