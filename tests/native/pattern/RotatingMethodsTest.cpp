#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "base/Random.h"
#include "pattern/MethodTestSupport.h"
#include "pattern/DistortedSquareMethod.h"
#include "pattern/FloralMethod.h"
#include "pattern/SpiralMethod.h"

namespace tessivane {
namespace {

using namespace tessivane::testing;

constexpr int32_t P(int x, int y) { return ConversionMethod::PackPoint(x, y); }

TEST(RotatingMethods, TileSizes) {
  auto sharp = std::make_unique<FloralMethod>();
  auto compress = std::make_unique<DistortedSquareMethod>();
  auto spin = std::make_unique<SpiralMethod>();
  const struct {
    int cut, sharp, compress, spin;
  } cases[] = {{32, 44, 42, 44}, {64, 88, 88, 88}, {128, 180, 178, 180}, {256, 360, 360, 360}};
  for (const auto& c : cases) {
    Bitmap cut = FlatCut(c.cut, c.cut, 0x101010);
    MakeTileOf(*sharp, cut);
    MakeTileOf(*compress, cut);
    MakeTileOf(*spin, cut);
    EXPECT_EQ(sharp->Tile().Width(), c.sharp);
    EXPECT_EQ(sharp->Tile().Height(), c.sharp);
    EXPECT_EQ(compress->Tile().Width(), c.compress);
    EXPECT_EQ(compress->Tile().Height(), c.compress);
    EXPECT_EQ(spin->Tile().Width(), c.spin);
    EXPECT_EQ(spin->Tile().Height(), c.spin);
  }
}

TEST(FloralMethod, QuarterPointsForW32) {
  auto unit = std::make_unique<FloralMethod>();
  ASSERT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[22][9], P(22, 9));   // j0 = 9: still the first wedge
  EXPECT_EQ(unit->Map()[22][10], P(23, 8));  // reflected in the 22.5-degree line
  EXPECT_EQ(unit->Map()[22][22], P(31, 0));
  EXPECT_EQ(unit->Map()[0][22], P(22, 0));
  for (int i = 0; i < 23; ++i) {
    EXPECT_EQ(unit->Map()[i][0], P(i, 0));
    for (int k = 0; k < 23; ++k) ASSERT_EQ(unit->Map()[i][k], unit->Map()[k][i]);
  }
}

TEST(FloralMethod, StarCentreIsTheCutCornerAtTileColumnZero) {
  auto unit = std::make_unique<FloralMethod>();
  MakeTileOf(*unit, CoordinateCut(32, 32));
  EXPECT_EQ(PointAt(unit->Tile(), 0, 22), (CutPoint{0, 0}));    // quarter origin: column 0, row M - 1
  EXPECT_EQ(PointAt(unit->Tile(), 22, 22), (CutPoint{22, 0}));  // quarter (22, 0)
  EXPECT_EQ(PointAt(unit->Tile(), 22, 0), (CutPoint{31, 0}));   // quarter (22, 22)
}

TEST(DistortedSquareMethod, QuarterPointsForW32) {
  auto unit = std::make_unique<DistortedSquareMethod>(2);
  ASSERT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
  // The sine term is a tiny negative number that truncation turns into 0.
  EXPECT_EQ(unit->Map()[0][11], P(27, 16));
  EXPECT_EQ(unit->Map()[11][0], P(5, 16));
  EXPECT_EQ(unit->Map()[11][11], P(16, 16));
  unit = std::make_unique<DistortedSquareMethod>(3);
  ASSERT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[0][11], P(5, 16));
  for (int n : {2, 3, 7, 20, -4, 1000}) {
    unit = std::make_unique<DistortedSquareMethod>(n);
    for (int w : {32, 100, 256}) {
      ASSERT_EQ(unit->Setup({w, w}, false, ProgramRandom()).number, 0);
      const int m = int(w / 1.4142135623730951), h = m / 2;
      EXPECT_EQ(unit->Map()[h][h], P(w / 2, w / 2));
      for (int dx = 1; h + dx < m; ++dx) ASSERT_EQ(unit->Map()[h + dx][h], P(w / 2 + dx, w / 2)) << n;
    }
  }
}

// Marks PointMap column W and row W, the entries just outside the cut, so
// that a map entry that left the cut shows where it went.
class MarkedSpin : public SpiralMethod {
public:
  static constexpr int kMark = 255;
  void ShuffleMap() override {
    for (int i = 0; i < Cut().x; ++i) {
      PointMap[Cut().x][i] = PackPoint(kMark, i);
      PointMap[i][Cut().x] = PackPoint(i, kMark);
    }
  }
};

TEST(SpiralMethod, QuarterPoints) {
  auto unit = std::make_unique<SpiralMethod>();
  ASSERT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[11][11], P(16, 16));
  EXPECT_EQ(unit->Map()[14][15], P(17, 21));  // dx 3, dy 4: rho 5, turned 30 degrees
  for (int w : {172, 256}) {
    ASSERT_EQ(unit->Setup({w, w}, false, ProgramRandom()).number, 0);
    const int h = int(std::lround(1.4142135623730951 * w / 2)) / 2;
    EXPECT_EQ(unit->Map()[h][h], P(w / 2, w / 2));
    EXPECT_EQ(unit->Map()[h - 60][h], P(w / 2 - 60, w / 2));  // a full turn at rho 60
  }
}

// For the cut sizes the composer makes, exactly one corner point leaves the
// cut, at W = 48, 76, 104 and 164, by one pixel.
TEST(SpiralMethod, LeavesTheCutOnlyAtTheKnownCorners) {
  auto unit = std::make_unique<MarkedSpin>();
  // 256 is left out: there column 255 of the cut and the mark coincide.
  for (int w = 32; w < 256; w += 4) {
    ASSERT_EQ(unit->Setup({w, w}, true, ProgramRandom()).number, 0);
    const int m = int(std::lround(1.4142135623730951 * w / 2));
    int outside = 0;
    for (int i = 0; i < m; ++i)
      for (int k = 0; k < m; ++k) {
        int32_t v = unit->Map()[i][k];
        if (ConversionMethod::PointX(v) == MarkedSpin::kMark ||
            ConversionMethod::PointY(v) == MarkedSpin::kMark)
          ++outside;
      }
    EXPECT_EQ(outside, (w == 48 || w == 76 || w == 104 || w == 164) ? 1 : 0) << w;
  }
  ASSERT_EQ(unit->Setup({48, 48}, true, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[0][0], P(MarkedSpin::kMark, 28));  // source (48, 28)
  ASSERT_EQ(unit->Setup({76, 76}, true, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[0][0], P(36, MarkedSpin::kMark));  // source (36, 76)
  ASSERT_EQ(unit->Setup({104, 104}, true, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[0][73], P(54, MarkedSpin::kMark));  // source (54, 104)
  ASSERT_EQ(unit->Setup({164, 164}, true, ProgramRandom()).number, 0);
  EXPECT_EQ(unit->Map()[0][0], P(MarkedSpin::kMark, 78));  // source (164, 78)
}

// A fresh unit's PointMap is zero outside the cut: the corner shows cut
// pixel (0, 0).
TEST(SpiralMethod, CornerOutsideTheCutShowsPixelZero) {
  auto unit = std::make_unique<SpiralMethod>();
  MakeTileOf(*unit, CoordinateCut(48, 48));
  EXPECT_EQ(PointAt(unit->Tile(), 0, 33), (CutPoint{0, 0}));  // quarter (0, 0): column 0, row M - 1
}

TEST(RotatingMethods, ShuffleDrawsANewPermutationPerSetup) {
  auto unit = std::make_unique<FloralMethod>();
  Bitmap cut = CoordinateCut(64, 64);
  Bitmap first;
  {
    ScopedSeedSource seed(FixedSeed(1));
    ASSERT_EQ(unit->Setup({64, 64}, true, ProgramRandom()).number, 0);
    ASSERT_EQ(unit->Make(cut).number, 0);
    first = unit->Tile();
  }
  ScopedSeedSource seed(FixedSeed(2));
  ASSERT_EQ(unit->Setup({64, 64}, true, ProgramRandom()).number, 0);
  ASSERT_EQ(unit->Make(cut).number, 0);
  EXPECT_FALSE(unit->Tile() == first);
  // The permutation holds for every frame until the next set-up.
  Bitmap second = unit->Tile();
  ASSERT_EQ(unit->Make(cut).number, 0);
  EXPECT_EQ(unit->Tile(), second);
}

}  // namespace
}  // namespace tessivane
