#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "base/Random.h"
#include "motion/SinePath.h"
#include "motion/StraightPath.h"
#include "motion/MotionPaths.h"
#include "motion/SlideShowPath.h"

namespace tessivane {
namespace {

// Pins the generator to a known sequence for the life of each test.
class MovePosition : public ::testing::Test {
protected:
  void SetUp() override { Randomize(); }
  ScopedSeedSource seed_{FixedSeed(20240601)};
};

TEST_F(MovePosition, MakerBuildsTheKindsAndRefusesOthers) {
  EXPECT_NE(dynamic_cast<StraightPath*>(MakeMotionPath(0, 0, 0, 3, {9, 9}, ProgramRandom()).get()), nullptr);
  EXPECT_NE(dynamic_cast<SinePath*>(MakeMotionPath(1, 0, 0, 3, {9, 9}, ProgramRandom()).get()), nullptr);
  auto random = MakeMotionPath(2, 5, 6, 3, {200, 100}, ProgramRandom());
  ASSERT_NE(dynamic_cast<SlideShowPath*>(random.get()), nullptr);
  EXPECT_EQ(random->Position(), (Point{5, 6}));
  EXPECT_EQ(random->MaxX, 200);
  EXPECT_EQ(random->MaxY, 100);
  try {
    MakeMotionPath(3, 0, 0, 1, {10, 10}, ProgramRandom());
    FAIL() << "kind 3 was accepted";
  } catch (const std::out_of_range& e) {
    EXPECT_EQ(std::string(e.what()), "No Exist MovePosition: GetMovePosition[3]");
  }
  EXPECT_EQ(CodeToMotionKind(2), 2);
  EXPECT_EQ(CodeToMotionKind(258), 0);  // not 258 mod 256
  EXPECT_EQ(CodeToMotionKind(-1), 0);
  EXPECT_EQ(MotionKindToCode(3), 0);
}

TEST_F(MovePosition, PositionTruncatesTowardZero) {
  SlideShowPath path(0, 0, 1, {100, 100}, ProgramRandom());
  path.X = 12.99;
  path.Y = -0.5;
  EXPECT_EQ(path.Position(), (Point{12, 0}));
}

TEST_F(MovePosition, StraightLineStepsHaveLengthSpeed) {
  StraightPath path(0, 0, 3, {1000, 1000}, ProgramRandom());
  path.Move();
  EXPECT_EQ(path.X, path.DX);
  EXPECT_GE(path.X, 0);
  EXPECT_GE(path.Y, 0);
  EXPECT_NEAR(path.X * path.X + path.Y * path.Y, 9.0, 1e-12);

  StraightPath walk(0, 0, 10, {120, 80}, ProgramRandom());
  for (int frame = 0; frame < 100000; ++frame) {
    walk.Move();
    ASSERT_NEAR(walk.DX * walk.DX + walk.DY * walk.DY, 100.0, 1e-9);
  }
}

TEST_F(MovePosition, StraightLineOutsideTheRangeHeadsBackInside) {
  // Reversing an axis whose short step still ended outside sent the
  // position away again: it wandered hundreds of pixels off the picture.
  StraightPath path(0, 0, 3, {100, 100}, ProgramRandom());
  path.X = -3;
  path.Y = 50;
  path.DX = 0.5;  // heading in, next X -2.5 still outside
  path.DY = std::sqrt(9 - 0.25);
  path.Move();
  EXPECT_GT(path.DX, 0);

  // After leaving through a bounce of the other axis, the position stays
  // within one step (plus the truncation) of the range.
  for (int speed : {3, 10}) {
    StraightPath walk(0, 0, speed, {120, 80}, ProgramRandom());
    for (int frame = 0; frame < 200000; ++frame) {
      walk.Move();
      Point p = walk.Position();
      ASSERT_GE(p.x, -speed - 1);
      ASSERT_LE(p.x, 120 + speed + 1);
      ASSERT_GE(p.y, -speed - 1);
      ASSERT_LE(p.y, 80 + speed + 1);
    }
  }
}

TEST_F(MovePosition, StraightLineTurnsInTheMoveThatWouldCrossAnEdge) {
  StraightPath path(0, 0, 3, {100, 100}, ProgramRandom());
  path.X = 99;
  path.Y = 50;
  path.DX = 2.5;  // next X 101.5 truncates to 101 > MaxX
  path.DY = std::sqrt(9 - 2.5 * 2.5);
  path.Move();
  EXPECT_LT(path.DX, 0);
  EXPECT_GT(path.DY, 0);  // the other axis keeps its sign
  EXPECT_LT(path.X, 99);

  // Next X -0.7 truncates to 0: no bounce.
  path.X = 0.5;
  path.DX = -1.2;
  path.Move();
  EXPECT_DOUBLE_EQ(path.X, -0.7);
  EXPECT_EQ(path.DX, -1.2);
}

TEST_F(MovePosition, CurveSwingsAroundTheMiddleOfTheVerticalRange) {
  SinePath small(0, 0, 5, {400, 17}, ProgramRandom());
  EXPECT_EQ(small.Center, 8);
  EXPECT_EQ(small.Amplitude, 7);
  for (int speed : {1, 10}) {
    SinePath path(0, 0, speed, {100, 100}, ProgramRandom());
    EXPECT_EQ(path.Center, 50);
    EXPECT_EQ(path.Amplitude, 47);
    for (int frame = 0; frame < 20000; ++frame) {
      path.Move();
      ASSERT_GE(path.Y, 3);
      ASSERT_LE(path.Y, 97);
      ASSERT_GE(path.Position().x, 0) << "speed " << speed << " frame " << frame;
      ASSERT_LE(path.Position().x, 100) << "speed " << speed << " frame " << frame;
    }
  }
}

TEST_F(MovePosition, CurveAngleAdvancesByTheHorizontalStep) {
  SinePath path(0, 0, 4, {1000000, 100}, ProgramRandom());
  path.DX = 2;
  for (int frame = 0; frame < 1000; ++frame) path.Move();
  EXPECT_EQ(path.Angle, 200);  // 2000 mod 360
  EXPECT_NEAR(path.Y, 50 + 47 * std::sin(200 * std::numbers::pi / 180), 1e-9);
}

TEST_F(MovePosition, SlideShowDrawsBelowTheMaximumXFirst) {
  uint32_t seed = RandSeed();
  SlideShowPath path(0, 0, 1, {16, 9}, ProgramRandom());
  path.Move();
  SetRandSeed(seed);
  EXPECT_EQ(path.X, RandomInt(16));
  EXPECT_EQ(path.Y, RandomInt(9));
  bool sawLast = false;
  for (int frame = 0; frame < 10000; ++frame) {
    path.Move();
    ASSERT_LT(path.X, 16);
    sawLast |= path.X == 15;
  }
  EXPECT_TRUE(sawLast);

  // A negative range would read as a huge unsigned one.
  SlideShowPath empty(0, 0, 1, {-5, -1}, ProgramRandom());
  empty.Move();
  EXPECT_EQ(empty.Position(), (Point{0, 0}));
}

}  // namespace
}  // namespace tessivane
