// For every cut size the composer can produce: a flat cut gives a flat tile
// (every tile position is written), and the tile repeated beside and below
// itself joins without a seam where the method promises it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/Numeric.h"
#include "pattern/MethodTable.h"
#include "pattern/MethodTestSupport.h"
#include "pattern/NoConversionMethod.h"
#include "pattern/DistortedSquareMethod.h"
#include "pattern/KaleidoscopeMethod.h"
#include "pattern/CarpetMethod.h"
#include "pattern/FloralMethod.h"
#include "pattern/RectangleMethod.h"
#include "pattern/SpiralMethod.h"
#include "pattern/TableclothMethod.h"
#include "pattern/TileMethod.h"

namespace tessivane {

// A row prints as its --method name in the test's messages.
void PrintTo(const MethodRow& row, std::ostream* os) { *os << row.CliName; }

namespace {

using namespace tessivane::testing;

constexpr uint32_t kFlat = 0xC86311;

// Square cuts: every even side from 32 to 256 (the composer makes the
// multiples of 4; the renderer's --cut takes any even side).
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

// Row by row against one flat row: these checks run for hundreds of sizes,
// under the sanitizers too.
void ExpectFlat(const Bitmap& tile, Point cut) {
  const Bitmap flatRow = FlatCut(tile.Width(), 1, kFlat);
  const size_t bytes = static_cast<size_t>(tile.Width()) * 3;
  for (int y = 0; y < tile.Height(); ++y)
    ASSERT_EQ(std::memcmp(tile.Row(y), flatRow.Row(0), bytes), 0) << cut.x << "x" << cut.y << " row " << y;
}

// Mirror axes at columns 0 and w/2, rows 0 and h/2: column w - x equals
// column x and row h - y equals row y, so copies placed side by side and
// one above the other continue the picture mirrored instead of breaking it.
void ExpectMirrorSeams(const Bitmap& tile, Point cut, bool columns, bool rows) {
  const int w = tile.Width(), h = tile.Height();
  if (columns) {
    for (int y = 0; y < h; ++y) {
      const uint8_t* p = tile.Row(y);
      for (int x = 1; x < w / 2; ++x)
        ASSERT_EQ(std::memcmp(p + 3 * x, p + 3 * (w - x), 3), 0) << cut.x << "x" << cut.y << " col " << x;
    }
  }
  if (rows) {
    for (int y = 1; y < h / 2; ++y)
      ASSERT_EQ(std::memcmp(tile.Row(y), tile.Row(h - y), static_cast<size_t>(w) * 3), 0)
          << cut.x << "x" << cut.y << " row " << y;
  }
}

void CheckSizes(ConversionMethod& unit, const std::vector<Point>& sizes, bool mirrored) {
  for (Point size : sizes) {
    ASSERT_EQ(unit.Setup(size, false, ProgramRandom()).number, 0) << size.x << "x" << size.y;
    ASSERT_EQ(unit.Make(FlatCut(size.x, size.y, kFlat)).number, 0);
    ExpectFlat(unit.Tile(), size);
    if (mirrored) {
      ASSERT_EQ(unit.Make(CoordinateCut(size.x, size.y)).number, 0);
      ExpectMirrorSeams(unit.Tile(), size, true, true);
    }
  }
}

// The largest distance between the cut points that the last column and the
// first column (that is, of the next copy) show, row by row.
int LargestSeamStep(const Bitmap& tile) {
  int largest = 0;
  for (int y = 0; y < tile.Height(); ++y) {
    CutPoint a = PointAt(tile, tile.Width() - 1, y), b = PointAt(tile, 0, y);
    largest = std::max({largest, std::abs(a.x - b.x), std::abs(a.y - b.y)});
  }
  return largest;
}

void CheckTriangleSizes(ConversionMethod& unit) {
  for (Point size : SquareCuts()) {
    ASSERT_EQ(unit.Setup(size, false, ProgramRandom()).number, 0) << size.x;
    ASSERT_EQ(unit.Make(FlatCut(size.x, size.y, kFlat)).number, 0);
    ExpectFlat(unit.Tile(), size);
    ASSERT_EQ(unit.Make(CoordinateCut(size.x, size.y)).number, 0);
    const Bitmap& t = unit.Tile();
    ExpectMirrorSeams(t, size, false, true);
    const int seam = LargestSeamStep(t);
    ASSERT_LE(seam, 2) << size.x;
  }
}

// What each method's tile promises at its seams, by the row's --method
// name, and the step of the square sizes it runs on (the two methods that
// clamp their source points, and whose maps are the costly ones, on the
// composer's sizes only). A row without a line here fails.
enum class Seams { kNone, kMirrored, kTriangle };
struct SeamPromise {
  std::string_view name;
  Seams seams;
  int step;
};
constexpr SeamPromise kSeamPromises[] = {
    {"kaleidoscope", Seams::kTriangle, 2}, {"carpet", Seams::kNone, 2},
    {"tablecloth", Seams::kMirrored, 2},   {"tile", Seams::kMirrored, 2},
    {"rectangle", Seams::kMirrored, 2},    {"none", Seams::kNone, 2},
    {"floral", Seams::kMirrored, 2},       {"distorted", Seams::kMirrored, 4},
    {"spiral", Seams::kMirrored, 4},
};

// Every row with a class of its own (not the random choice, not the
// plug-in): each cut size its row allows is fully written and seamless.
std::vector<MethodRow> MethodClassRows() {
  std::vector<MethodRow> rows;
  for (const MethodRow& row : MethodRows())
    if (row.Create && row.Type != kMethodTypePlugin) rows.push_back(row);
  return rows;
}

class MethodProperties : public ::testing::TestWithParam<MethodRow> {};

TEST_P(MethodProperties, EveryCutSizeIsFullyWrittenAndSeamless) {
  const MethodRow& row = GetParam();
  const SeamPromise* promise = nullptr;
  for (const SeamPromise& p : kSeamPromises)
    if (p.name == row.CliName) promise = &p;
  ASSERT_NE(promise, nullptr) << row.CliName << ": add what its seams promise to kSeamPromises";
  std::unique_ptr<ConversionMethod> unit = CreateMethodByType(row.Type, {});
  ASSERT_NE(unit, nullptr);
  if (promise->seams == Seams::kTriangle) return CheckTriangleSizes(*unit);
  CheckSizes(*unit, row.TakesOblongCut ? OblongCuts() : SquareCuts(promise->step),
             promise->seams == Seams::kMirrored);
}

INSTANTIATE_TEST_SUITE_P(Rows, MethodProperties, ::testing::ValuesIn(MethodClassRows()),
                         [](const ::testing::TestParamInfo<MethodRow>& info) {
                           return std::string(info.param.CliName);
                         });

}  // namespace
}  // namespace tessivane

namespace tessivane {
namespace {

// FNV-1a over the visible bytes of a tile, folded into `hash`.
uint64_t Fold(uint64_t hash, const Bitmap& tile) {
  for (int y = 0; y < tile.Height(); ++y) {
    const uint8_t* p = tile.Row(y);
    for (int i = 0; i < tile.Width() * 3; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
  }
  return hash;
}

template <class Unit>
uint64_t TilesDigest() {
  auto unit = std::make_unique<Unit>();
  uint64_t hash = 1469598103934665603ull;
  for (Point size : SquareCuts(4)) {
    EXPECT_EQ(unit->Setup(size, false, ProgramRandom()).number, 0);
    EXPECT_EQ(unit->Make(CoordinateCut(size.x, size.y)).number, 0);
    hash = Fold(hash, unit->Tile());
  }
  return hash;
}

// The tiles of a coordinate cut at every square size the composer makes,
// pinned: the maps (rounding, extended precision, the values stored as
// doubles) come out the same in every build, the 32-bit x87 one included.
TEST(MethodProperties, TilesAreTheSameInEveryBuild) {
  EXPECT_EQ(TilesDigest<KaleidoscopeMethod>(), 14128373010524981175ull) << "kaleidoscope";
  EXPECT_EQ(TilesDigest<TableclothMethod>(), 14430920835057734587ull) << "tablecloth";
  EXPECT_EQ(TilesDigest<TileMethod>(), 34033091139342409ull) << "tile";
  EXPECT_EQ(TilesDigest<RectangleMethod>(), 5105525621812051297ull) << "rectangle";
  EXPECT_EQ(TilesDigest<FloralMethod>(), 14605251904955316221ull) << "floral";
  EXPECT_EQ(TilesDigest<DistortedSquareMethod>(), 11743029669416580319ull) << "distorted square";
  EXPECT_EQ(TilesDigest<SpiralMethod>(), 15509839141128237411ull) << "spiral";
}

}  // namespace
}  // namespace tessivane
