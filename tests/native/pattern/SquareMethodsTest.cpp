#include <gtest/gtest.h>

#include <memory>

#include "pattern/MethodTable.h"
#include "pattern/MethodTestSupport.h"
#include "pattern/NoConversionMethod.h"
#include "pattern/RectangleMethod.h"
#include "pattern/TableclothMethod.h"
#include "pattern/TileMethod.h"

namespace tessivane {
namespace {

using namespace tessivane::testing;

TEST(SquareMethods, TileSizes) {
  auto shikaku = CreateMethodByType(5, {});
  MakeTileOf(*shikaku, FlatCut(32, 32, 1));
  EXPECT_EQ(shikaku->Tile().Width(), 62);
  EXPECT_EQ(shikaku->Tile().Height(), 62);
  MakeTileOf(*shikaku, FlatCut(32, 3, 1));
  EXPECT_EQ(shikaku->Tile().Width(), 62);
  EXPECT_EQ(shikaku->Tile().Height(), 4);

  auto table = std::make_unique<TableclothMethod>();
  MakeTileOf(*table, FlatCut(256, 256, 1));
  EXPECT_EQ(table->Tile().Width(), 510);
  EXPECT_EQ(table->Tile().Height(), 510);
  auto tile = std::make_unique<TileMethod>();
  MakeTileOf(*tile, FlatCut(256, 256, 1));
  EXPECT_EQ(tile->Tile().Width(), 510);
  EXPECT_EQ(tile->Tile().Height(), 510);
}

TEST(SquareMethods, OnlyRectangleAndNoneTakeOblongOrOddCuts) {
  auto shikaku = CreateMethodByType(5, {});
  auto none = CreateMethodByType(6, {});
  auto table = std::make_unique<TableclothMethod>();
  auto tile = std::make_unique<TileMethod>();
  EXPECT_EQ(shikaku->Setup({40, 20}, false, ProgramRandom()).number, 0);
  EXPECT_EQ(none->Setup({33, 33}, false, ProgramRandom()).number, 0);
  EXPECT_EQ(table->Setup({40, 20}, false, ProgramRandom()).number, 2);
  EXPECT_EQ(tile->Setup({33, 33}, false, ProgramRandom()).number, 4);
}

TEST(NoConversionMethod, TileIsTheCut) {
  auto unit = CreateMethodByType(6, {});
  Bitmap cut = CoordinateCut(33, 40);
  MakeTileOf(*unit, cut);
  EXPECT_EQ(unit->Tile(), cut);
}

TEST(RectangleMethod, MirrorsTheWholeCut) {
  auto unit = CreateMethodByType(5, {});
  Bitmap cut = CoordinateCut(37, 20);
  MakeTileOf(*unit, cut);
  const Bitmap& t = unit->Tile();
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(t.PixelRgb(x, y), cut.PixelRgb(x, y));
  for (int d = 1; d <= 35; ++d) EXPECT_TRUE(ColumnsEqual(t, d, 72 - d)) << d;
  for (int e = 1; e <= 18; ++e) EXPECT_TRUE(RowsEqual(t, e, 38 - e)) << e;
  // The edge columns occur once per period.
  EXPECT_FALSE(ColumnsEqual(t, 0, 1));
  EXPECT_FALSE(ColumnsEqual(t, 36, 35));
}

// On screen: within the first a x a block, the pixel at column x, row r
// (from the top) equals the pixel at column r, row x.
TEST(TableclothMethod, BlockIsSymmetricInTheFallingDiagonal) {
  auto unit = std::make_unique<TableclothMethod>();
  MakeTileOf(*unit, CoordinateCut(48, 48));
  for (int r = 0; r < 48; ++r)
    for (int x = 0; x < 48; ++x) ASSERT_EQ(unit->Tile().PixelRgb(x, r), unit->Tile().PixelRgb(r, x));
  // The lower-left half is the cut unchanged.
  EXPECT_EQ(PointAt(unit->Tile(), 3, 47), (CutPoint{3, 0}));
  EXPECT_EQ(PointAt(unit->Tile(), 0, 0), (CutPoint{0, 47}));
}

TEST(TileMethod, WhiteBottomTriangleGivesAWhiteTile) {
  auto unit = std::make_unique<TileMethod>();
  for (int a : {32, 34, 128, 256}) {
    Bitmap cut = FlatCut(a, a, 0);
    // The triangle on the bottom edge with its apex at the centre: y from
    // the bottom, y <= x <= a - 1 - y.
    for (int y = 0; y <= a / 2; ++y)
      for (int x = y; x <= a - 1 - y; ++x) cut.SetPixelRgb(x, a - 1 - y, 0xFFFFFF);
    MakeTileOf(*unit, cut);
    for (int y = 0; y < unit->Tile().Height(); ++y)
      for (int x = 0; x < unit->Tile().Width(); ++x)
        ASSERT_EQ(unit->Tile().PixelRgb(x, y), 0xFFFFFFu) << a << ": " << x << "," << y;
  }
}

}  // namespace
}  // namespace tessivane

#include <typeinfo>

#include "pattern/DistortedSquareMethod.h"
#include "pattern/KaleidoscopeMethod.h"
#include "pattern/CarpetMethod.h"
#include "pattern/FloralMethod.h"
#include "pattern/SpiralMethod.h"
#include "pattern/MethodTable.h"

namespace tessivane {
namespace {

TEST(MethodFactory, EachTypeNumberMakesItsClass) {
  ComposerParams param;
  param.Rotate = 7;
  const struct {
    int type;
    const std::type_info& cls;
  } cases[] = {
      {1, typeid(KaleidoscopeMethod)}, {2, typeid(CarpetMethod)},           {3, typeid(TableclothMethod)},
      {4, typeid(TileMethod)},         {5, typeid(RectangleMethod)},        {6, typeid(NoConversionMethod)},
      {7, typeid(FloralMethod)},       {10, typeid(DistortedSquareMethod)}, {11, typeid(SpiralMethod)}};
  for (const auto& c : cases) {
    auto unit = CreateMethodByType(c.type, param);
    ASSERT_NE(unit, nullptr) << c.type;
    const ConversionMethod& made = *unit;
    EXPECT_EQ(typeid(made), c.cls) << c.type;
  }
  auto compress = CreateMethodByType(10, param);
  EXPECT_EQ(static_cast<DistortedSquareMethod&>(*compress).Rotate(), 7);
  EXPECT_EQ(CreateMethodByType(8, param), nullptr);
}

}  // namespace
}  // namespace tessivane
