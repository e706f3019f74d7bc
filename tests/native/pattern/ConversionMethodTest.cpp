#include "pattern/MethodTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string_view>

#include "base/Errors.h"
#include "base/Random.h"
#include "pattern/TestMethod.h"
#include "support/MethodNumbering.h"

namespace tessivane {
namespace {

using namespace testing;  // TestMethod and the pinned numbering

// A picture whose every pixel is distinct: red = x, green = y, blue = x ^ y.
Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelRgb(x, y, (uint32_t(x & 255) << 16) | (uint32_t(y & 255) << 8) | ((x ^ y) & 255));
  return b;
}

struct SizeCase {
  int w, h;
  bool relaxed;
  int error;  // 0 = passes
};

TEST(ConversionMethodSetup, SizeRules) {
  const SizeCase cases[] = {
      // The odd-width test runs before the size rules: 31 x 31 and 257 x 20
      // give 4 for a square-cut method, 2 and 1 for a relaxed one.
      {32, 32, false, 0},  {256, 256, false, 0}, {31, 31, false, 4}, {31, 31, true, 2},   {30, 30, false, 2},
      {258, 20, false, 1}, {20, 258, false, 1},  {257, 20, true, 1}, {257, 20, false, 4}, {40, 20, true, 0},
      {20, 40, true, 0},   {20, 20, true, 2},    {40, 20, false, 2}, {33, 33, false, 4},  {33, 33, true, 0},
      {32, 33, false, 0},  {33, 20, true, 0},    {40, 0, true, 2},   {0, 40, true, 2},
  };
  for (const SizeCase& c : cases) {
    auto unit = std::make_unique<TestMethod>(c.relaxed);
    const UnitFailure failure = unit->Setup({c.w, c.h}, false, ProgramRandom());
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << (c.relaxed ? " relaxed" : ""));
    EXPECT_EQ(failure.number, c.error);
    // The size is stored before any check.
    EXPECT_EQ(unit->Cut(), (Point{c.w, c.h}));
    EXPECT_EQ(unit->buildCount, c.error == 0 ? 1 : 0);
  }
}

TEST(ConversionMethodSetup, CheckSizeAlone) {
  EXPECT_EQ(ConversionMethod::CutSizeError({31, 31}, false), 2);
  EXPECT_EQ(ConversionMethod::CutSizeError({257, 20}, false), 1);
}

// Each set-up answers its own failure; a later success is no failure.
TEST(ConversionMethodSetup, EachSetUpAnswersItsOwnFailure) {
  auto unit = std::make_unique<TestMethod>();
  EXPECT_EQ(unit->Setup({30, 30}, false, ProgramRandom()).number, 2);
  EXPECT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
}

TEST(ConversionMethodMake, PixelsHoldTheCutUpsideDownAndTileIsUpright) {
  auto unit = std::make_unique<TestMethod>();
  ASSERT_EQ(unit->Setup({40, 34}, false, ProgramRandom()).number, 0);
  Bitmap cut = Gradient(40, 34);
  ASSERT_EQ(unit->Make(cut).number, 0);
  // Pixels[x][0] is the cut's last bitmap row.
  EXPECT_EQ(unit->Pixel(5, 0).Red, 5);
  EXPECT_EQ(unit->Pixel(5, 0).Green, 33);
  EXPECT_EQ(unit->Pixel(5, 0).Blue, 5 ^ 33);
  EXPECT_EQ(unit->Pixel(7, 33).Green, 0);
  EXPECT_EQ(unit->Tile(), cut);
}

TEST(ConversionMethodMake, WrongSizeGivesError3AndKeepsTheTile) {
  auto unit = std::make_unique<TestMethod>();
  ASSERT_EQ(unit->Setup({32, 32}, false, ProgramRandom()).number, 0);
  Bitmap cut = Gradient(32, 32);
  ASSERT_EQ(unit->Make(cut).number, 0);
  Bitmap other(32, 30);
  other.Fill(1, 2, 3);
  EXPECT_EQ(unit->Make(other).number, 3);
  EXPECT_EQ(unit->Tile(), cut);
}

TEST(ConversionMethodShuffle, ReseedsAndPermutesTheCut) {
  auto unit = std::make_unique<TestMethod>();
  uint32_t seed = 1;
  ScopedSeedSource source([&] { return seed++; });
  ASSERT_EQ(unit->Setup({32, 32}, true, ProgramRandom()).number, 0);
  std::vector<int32_t> first(&unit->PointMap[0][0], &unit->PointMap[0][0] + 257 * 257);
  ASSERT_EQ(unit->Setup({32, 32}, true, ProgramRandom()).number, 0);
  std::vector<int32_t> second(&unit->PointMap[0][0], &unit->PointMap[0][0] + 257 * 257);
  EXPECT_NE(first, second);
  // Still a permutation of the cut's points, and nothing outside the cut moved.
  std::vector<int> seen(32 * 256, 0);
  for (int x = 0; x < 257; ++x)
    for (int y = 0; y < 257; ++y) {
      int32_t v = unit->PointMap[x][y];
      if (x < 32 && y < 32) {
        ASSERT_LT(ConversionMethod::PointX(v), 32);
        ASSERT_LT(ConversionMethod::PointY(v), 32);
        ++seen[v];
      } else {
        ASSERT_EQ(v, 0);
      }
    }
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 32; ++y) EXPECT_EQ(seen[ConversionMethod::PackPoint(x, y)], 1);
}

TEST(ConversionMethodShuffle, FixedSeedGivesTheSameMap) {
  ScopedSeedSource source(FixedSeed(1234));
  auto a = std::make_unique<TestMethod>();
  auto b = std::make_unique<TestMethod>();
  ASSERT_EQ(a->Setup({48, 48}, true, ProgramRandom()).number, 0);
  ASSERT_EQ(b->Setup({48, 48}, true, ProgramRandom()).number, 0);
  EXPECT_TRUE(std::equal(&a->PointMap[0][0], &a->PointMap[0][0] + 257 * 257, &b->PointMap[0][0]));
}

TEST(MethodNumbering, TableAndFallbacks) {
  for (const PinnedMethod& m : kPinnedMethods) {
    EXPECT_EQ(MethodTypeToCode(m.type), m.code) << m.type;
    if (m.code >= 0) {
      EXPECT_EQ(CodeToMethodType(m.code), m.type) << m.code;
    }
    if (m.listPosition >= 0) {
      EXPECT_EQ(MethodTypeToListPosition(m.type), PinnedPosition(m)) << m.type;
      EXPECT_EQ(ListPositionToMethodType(PinnedPosition(m)), m.type) << m.type;
    }
  }
  EXPECT_EQ(MethodTypeToCode(0), -1);
  EXPECT_EQ(MethodTypeToCode(PinnedNextType()), -1);
  EXPECT_EQ(CodeToMethodType(-1), 0);
  EXPECT_EQ(CodeToMethodType(PinnedCodeCount()), 0);
  EXPECT_EQ(MethodTypeToListPosition(kPinnedPluginType), 0);
  EXPECT_EQ(MethodTypeToListPosition(255), 0);
  EXPECT_EQ(ListPositionToMethodType(PinnedListCount()), 1);
  EXPECT_EQ(ListPositionToMethodType(-1), 1);
  const auto& labels = MethodListLabels();
  ASSERT_EQ(labels.size(), static_cast<size_t>(PinnedListCount()));
  EXPECT_EQ(labels[0], "万華鏡風");
  EXPECT_EQ(labels[6], "長方形");
  EXPECT_EQ(labels[static_cast<size_t>(PinnedListCount() - 1)], "ランダムに選ぶ");
}

// Setup used to turn every exception into a false result, so running out of
// memory was reported as a unit error numbered 0.
TEST(ConversionMethodSetup, AllocationFailureIsNotAUnitError) {
  class Hungry : public testing::TestMethod {
    UnitFailure BuildMap() override { throw std::bad_alloc(); }
  };
  auto method = std::make_unique<Hungry>();
  EXPECT_THROW(method->Setup({32, 32}, false, ProgramRandom()), std::bad_alloc);
  EXPECT_EQ(method->Make(Bitmap(32, 32)).number, kErrCutSizeMismatch) << "not set up";
}

// The method table is the only list of methods: its numberings must be
// one-to-one, and the facts it states about a class must be the class's own.
TEST(MethodTable, RowsAgreeWithTheirClassesAndNumberingsAreOneToOne) {
  std::set<int> codes, positions;
  std::set<std::string_view> names;
  for (const MethodRow& row : MethodRows()) {
    if (row.Code >= 0) {
      EXPECT_TRUE(codes.insert(row.Code).second) << row.Type;
    }
    if (row.ListPosition >= 0) {
      EXPECT_TRUE(positions.insert(MethodTypeToListPosition(row.Type)).second) << row.Type;
    }
    if (!row.CliName.empty()) {
      EXPECT_TRUE(names.insert(row.CliName).second) << row.CliName;
    }
    std::unique_ptr<ConversionMethod> method = CreateMethodByType(row.Type, ComposerParams{});
    if (!row.Create) {
      EXPECT_EQ(method, nullptr) << row.Type;
      continue;
    }
    ASSERT_NE(method, nullptr) << row.Type;
    EXPECT_EQ(method->TakesOblongCut(), row.TakesOblongCut) << row.Type;
    // Only a method that takes an oblong cut can use an aspect step, and
    // such a method reads both sides of its cut.
    if (row.Aspect != AspectSetting::None) {
      EXPECT_TRUE(row.TakesOblongCut) << row.Type;
    }
    if (row.TakesOblongCut) {
      EXPECT_FALSE(row.ReadsWidthOnly) << row.Type;
    }
  }
  EXPECT_EQ(codes.size(), static_cast<size_t>(MethodCodeCount()));  // and no code left out
  EXPECT_EQ(positions.size(), static_cast<size_t>(MethodListCount()));
  EXPECT_EQ(*positions.rbegin(), MethodListCount() - 1);
}

}  // namespace
}  // namespace tessivane
