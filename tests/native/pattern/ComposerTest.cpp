#include "pattern/Composer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "base/Errors.h"
#include "base/Random.h"
#include "support/AllocationCounter.h"
#include "pattern/TestMethod.h"

namespace tessivane {
namespace {

using testing::AllocationCounter;
using testing::TestMethod;

// Every pixel distinct enough to tell positions apart.
Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelRgb(x, y,
                    (uint32_t(x & 255) << 16) | (uint32_t(y & 255) << 8) | (uint32_t(x * 7 + y * 13) & 255));
  return b;
}

Bitmap Region(const Bitmap& src, int x, int y, int w, int h) {
  Bitmap out(w, h);
  CopyRect(out, 0, 0, src, x, y, w, h);
  return out;
}

// Units for the composer tests: square-cut rules for 1..4, 7, 10, 11 and
// the relaxed ones for 5 and 6, as the real methods have.
std::unique_ptr<ConversionMethod> TestFactory(int type, const ComposerParams&) {
  if (type < 1 || type > 11 || type == 8 || type == 9) return nullptr;
  return std::make_unique<TestMethod>(type == 5 || type == 6);
}

// A motion path that visits given positions, one per Move.
class ScriptedMotion : public MotionPath {
public:
  ScriptedMotion(std::vector<Point> path, Point range)
      : MotionPath(0, 0, 1, range, ProgramRandom()), path_(std::move(path)) {}
  void Move() override {
    const Point p = path_[next_++ % path_.size()];
    X = p.x;
    Y = p.y;
  }

private:
  std::vector<Point> path_;
  size_t next_ = 0;
};

TEST(ComposerCreate, TypeWithoutClassGivesError6WithoutThrowing) {
  for (int type : {0, 8, 99, 255, -1, 265}) {
    Composer composer(type, ComposerParams{}, ProgramRandom());
    EXPECT_EQ(composer.Error().number, 6) << type;
    EXPECT_EQ(composer.Method(), nullptr);
    EXPECT_THROW(composer.Prepare({64, 64}, Gradient(100, 100), {.cutSide = 32, .speed = 1}), SilentAbort);
    EXPECT_EQ(composer.Error().number, 6);
    EXPECT_THROW(composer.Make(), SilentAbort);
  }
  Composer composer(1, ComposerParams{}, ProgramRandom(), &TestFactory);
  EXPECT_EQ(composer.Error().number, 0);
  ASSERT_NE(composer.Method(), nullptr);
}

TEST(ComposerCreate, EveryMethodRunsFramesThroughTheDefaultFactory) {
  for (int type : {1, 2, 3, 4, 5, 6, 7, 10, 11}) {
    Composer composer(type, ComposerParams{}, ProgramRandom());
    ASSERT_EQ(composer.Error().number, 0) << type;
    composer.Prepare({300, 200}, Gradient(200, 150),
                     {.cutSide = 64, .speed = 3, .aspect = -3, .shuffle = true, .brightness = true});
    EXPECT_EQ(composer.PieceForTesting().Height(), type == 5 || type == 6 ? 29 : 64) << type;
    composer.Make();  // the tile takes its size on the first frame
    AllocationCounter counter;
    for (int i = 0; i < 5; ++i) composer.Make();
    EXPECT_EQ(counter.Count(), 0u) << "frames of type " << type << " allocate";
    EXPECT_FALSE(composer.Method()->Tile().Empty()) << type;
  }
}

TEST(ComposerPrepare, SourceMustHoldOneAndAHalfUnits) {
  Composer composer(1, ComposerParams{}, ProgramRandom(), &TestFactory);
  EXPECT_THROW(composer.Prepare({64, 64}, Gradient(47, 100), {.cutSide = 32, .speed = 1}), SilentAbort);
  EXPECT_EQ(composer.Error().number, 5);
  EXPECT_EQ(composer.Error().detail, "");
  EXPECT_THROW(composer.Make(), SilentAbort);  // no frames after a failed set-up

  composer.Prepare({64, 64}, Gradient(48, 48), {.cutSide = 32, .speed = 1});
  ASSERT_NE(composer.MotionForTesting(), nullptr);
  EXPECT_EQ(composer.MotionForTesting()->MaxX, 16);
  EXPECT_EQ(composer.MotionForTesting()->MaxY, 16);
  // The rule uses the unit size, not the narrowed piece.
  Composer rect(5, ComposerParams{}, ProgramRandom(), &TestFactory);
  EXPECT_THROW(rect.Prepare({64, 64}, Gradient(47, 100), {.cutSide = 32, .speed = 1, .aspect = 3}),
               SilentAbort);
  EXPECT_EQ(rect.Error().number, 5);
}

TEST(ComposerPrepare, AspectTable) {
  const int factor[][3] = {{1, 26, 210}, {2, 20, 164}, {3, 15, 118}, {4, 9, 72}, {5, 3, 26}};
  for (int type : {5, 6})
    for (const auto& row : factor) {
      EXPECT_EQ(Composer::PieceSizeFor(type, 32, row[0]), (Point{row[1], 32}));
      EXPECT_EQ(Composer::PieceSizeFor(type, 256, row[0]), (Point{row[2], 256}));
      EXPECT_EQ(Composer::PieceSizeFor(type, 32, -row[0]), (Point{32, row[1]}));
      EXPECT_EQ(Composer::PieceSizeFor(type, 256, -row[0]), (Point{256, row[2]}));
    }
  for (int type : {1, 2, 3, 4, 7, 9, 10, 11})
    EXPECT_EQ(Composer::PieceSizeFor(type, 64, 3), (Point{64, 64})) << type;
  EXPECT_EQ(Composer::PieceSizeFor(6, 40, 0), (Point{40, 40}));
}

// The step share 0.18 was held as a double, so an exact half such as
// 25 x 0.82 = 20.5 came out a hair above and rounded up instead of to even.
TEST(ComposerPrepare, AspectStepHeldAsADoubleRoundedExactHalvesUp) {
  EXPECT_EQ(Composer::PieceSizeFor(5, 25, 1), (Point{20, 25}));      // 20.5
  EXPECT_EQ(Composer::PieceSizeFor(6, 75, 3), (Point{34, 75}));      // 34.5
  EXPECT_EQ(Composer::PieceSizeFor(5, 125, -1), (Point{125, 102}));  // 102.5
}

TEST(ComposerPrepare, AspectBeyondFiveCountsAsFive) {
  for (int aspect : {6, 7, 100, INT_MAX})
    EXPECT_EQ(Composer::PieceSizeFor(5, 256, aspect), (Point{26, 256})) << aspect;
  for (int aspect : {-6, -100, INT_MIN})
    EXPECT_EQ(Composer::PieceSizeFor(6, 256, aspect), (Point{256, 26})) << aspect;
  Composer composer(6, ComposerParams{}, ProgramRandom(), &TestFactory);
  composer.Prepare({100, 100}, Gradient(400, 400), {.cutSide = 256, .speed = 1, .aspect = -9});
  EXPECT_EQ(composer.PieceForTesting().Width(), 256);
  EXPECT_EQ(composer.PieceForTesting().Height(), 26);
  EXPECT_EQ(composer.SettingsForTesting().aspect, -9);
  composer.Make();
}

TEST(ComposerPrepare, PieceFollowsTheAspectAndUnitErrorsAreCopied) {
  Composer composer(5, ComposerParams{}, ProgramRandom(), &TestFactory);
  composer.Prepare({64, 64}, Gradient(100, 100), {.cutSide = 32, .speed = 1, .aspect = 3});
  EXPECT_EQ(composer.PieceForTesting().Width(), 15);
  EXPECT_EQ(composer.PieceForTesting().Height(), 32);
  EXPECT_EQ(composer.Method()->Cut().x, 15);
  EXPECT_EQ(composer.MotionForTesting()->MaxX, 85);
  EXPECT_EQ(composer.MotionForTesting()->MaxY, 68);

  Composer square(1, ComposerParams{}, ProgramRandom(), &TestFactory);
  EXPECT_THROW(square.Prepare({64, 64}, Gradient(100, 100), {.cutSide = 33, .speed = 1, .aspect = 3}),
               SilentAbort);
  EXPECT_EQ(square.Error().number, 4);
  EXPECT_THROW(square.Prepare({64, 64}, Gradient(100, 100), {.cutSide = 30, .speed = 1}), SilentAbort);
  EXPECT_EQ(square.Error().number, 2);
}

TEST(ComposerPrepare, SecondPrepareRestartsMotionAndBrightness) {
  Composer composer(1, ComposerParams{}, ProgramRandom(), &TestFactory);
  composer.Prepare({80, 60}, Gradient(200, 150), {.cutSide = 32, .speed = 5, .brightness = true});
  // Past the upper bound, so the brightness is on its way down.
  for (int i = 0; i < 40; ++i) composer.Make();
  EXPECT_NE(composer.MotionForTesting()->Position(), (Point{0, 0}));
  ASSERT_LT(composer.BrightnessForTesting()->Step, 0);
  composer.Prepare({80, 60}, Gradient(120, 100), {.cutSide = 32, .speed = 5, .brightness = true});
  EXPECT_EQ(composer.MotionForTesting()->Position(), (Point{0, 0}));
  EXPECT_EQ(composer.MotionForTesting()->MaxX, 88);
  EXPECT_EQ(composer.BrightnessForTesting()->Value, 0.0);
  EXPECT_EQ(composer.BrightnessForTesting()->Step, 0.01);
}

TEST(ComposerTile, DoublingCountsAndContent) {
  Bitmap tile = Gradient(44, 44);
  FrameBitmap image(1024, 768);
  TileCopies copies = TileBitmap(image, tile);
  EXPECT_EQ(copies.horizontal, 5);
  EXPECT_EQ(copies.vertical, 5);

  for (auto [tw, th, iw, ih] : {std::array{7, 5, 101, 37}, std::array{44, 44, 1024, 768},
                                std::array{300, 200, 120, 90}, std::array{1, 1, 5, 3}}) {
    Bitmap t = Gradient(tw, th);
    FrameBitmap img(iw, ih);
    TileBitmap(img, t);
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < iw; ++x) {
        // Blue, green, red and the unused byte 0, as the display takes them.
        const uint8_t* p = img.Data() + y * img.Stride() + 4 * x;
        const uint32_t rgb = t.PixelRgb(x % tw, y % th);
        ASSERT_EQ(p[0], rgb & 0xFF) << x << "," << y;
        ASSERT_EQ(p[1], (rgb >> 8) & 0xFF) << x << "," << y;
        ASSERT_EQ(p[2], rgb >> 16) << x << "," << y;
        ASSERT_EQ(p[3], 0) << x << "," << y;
      }
  }
  Bitmap empty;
  FrameBitmap untouched(10, 10);
  TileBitmap(untouched, Gradient(10, 10));
  FrameBitmap before = untouched;
  EXPECT_EQ(TileBitmap(untouched, empty).horizontal, 0);
  EXPECT_EQ(untouched, before);
}

// The tile is TileImage either way; without MakesFrames no frame is ever
// made or sized (the saver window repeats the tile itself).
TEST(ComposerMake, FrameRepeatsThePieceCutAtThePosition) {
  for (const bool makesFrames : {true, false}) {
    SCOPED_TRACE(makesFrames);
    Bitmap source = Gradient(100, 90);
    Composer composer(1, ComposerParams{}, ProgramRandom(), &TestFactory);
    composer.SetMakesFrames(makesFrames);
    composer.Prepare({150, 70}, source, {.cutSide = 32, .speed = 1});
    composer.SetMotionForTesting(
        std::make_unique<ScriptedMotion>(std::vector<Point>{{10, 20}}, Point{68, 58}));
    composer.Make();
    Bitmap piece = Region(source, 10, 20, 32, 32);
    EXPECT_EQ(composer.PieceForTesting(), piece);
    Bitmap tile;
    CopyFrameToBitmap(composer.TileImage(), tile);
    EXPECT_EQ(tile, piece);
    composer.Resize({160, 80});
    EXPECT_EQ(composer.Image().Empty(), !makesFrames);
    for (int y = 0; y < composer.Image().Height(); ++y)
      for (int x = 0; x < composer.Image().Width(); ++x)
        ASSERT_EQ(composer.Image().PixelRgb(x, y), piece.PixelRgb(x % 32, y % 32));
  }
}

// After a bounce the position may be outside the range: the piece is cut
// at the nearest position inside the source and nothing outside is read.
TEST(ComposerMake, PositionOutsideTheRangeCutsTheNearestInsidePiece) {
  Bitmap source = Gradient(100, 90);
  Composer composer(5, ComposerParams{}, ProgramRandom(), &TestFactory);
  composer.Prepare({64, 64}, source, {.cutSide = 40, .speed = 1, .aspect = 2});  // 26 x 40 piece
  ASSERT_EQ(composer.PieceForTesting().Width(), 26);
  const std::vector<Point> path = {{-3, -1}, {75, 51}, {80, 60}, {-1000000, 2000000}, {74, 50}};
  const std::vector<Point> expected = {{0, 0}, {74, 50}, {74, 50}, {0, 50}, {74, 50}};
  composer.SetMotionForTesting(std::make_unique<ScriptedMotion>(path, Point{74, 50}));
  for (const Point& at : expected) {
    composer.Make();
    EXPECT_EQ(composer.PieceForTesting(), Region(source, at.x, at.y, 26, 40)) << at.x << "," << at.y;
  }
}

TEST(ComposerMake, BrightnessStepAppliesTheChangerAmount) {
  Bitmap source = Gradient(64, 64);
  Composer composer(1, ComposerParams{}, ProgramRandom(), &TestFactory);
  composer.Prepare({64, 64}, source, {.cutSide = 32, .speed = 1, .brightness = true});
  composer.SetMotionForTesting(std::make_unique<ScriptedMotion>(std::vector<Point>{{3, 4}}, Point{32, 32}));
  composer.Make();
  composer.Make();
  ImageEffect effect;
  effect.SetImage(Region(source, 3, 4, 32, 32));
  effect.ChangeBrightness(composer.BrightnessForTesting()->Value);
  EXPECT_NEAR(composer.BrightnessForTesting()->Value, 0.02, 1e-12);
  EXPECT_EQ(composer.PieceForTesting(), effect.GetResult());

  composer.Prepare({64, 64}, source, {.cutSide = 32, .speed = 1});
  composer.SetMotionForTesting(std::make_unique<ScriptedMotion>(std::vector<Point>{{3, 4}}, Point{32, 32}));
  composer.Make();
  EXPECT_EQ(composer.PieceForTesting(), Region(source, 3, 4, 32, 32));
}

// A unit whose frame fails with an error of its own.
class FailingUnit : public TestMethod {
protected:
  UnitFailure PaintTile(Bitmap&) override { return {.number = 12, .detail = "detail"}; }
};

TEST(ComposerMake, UnitFailureIsCopiedAndRaised) {
  Composer composer(1, ComposerParams{}, ProgramRandom(),
                    [](int, const ComposerParams&) -> std::unique_ptr<ConversionMethod> {
                      return std::make_unique<FailingUnit>();
                    });
  composer.Prepare({64, 64}, Gradient(64, 64), {.cutSide = 32, .speed = 1});
  EXPECT_THROW(composer.Make(), SilentAbort);
  EXPECT_EQ(composer.Error().number, 12);
  EXPECT_EQ(composer.Error().detail, "detail");
}

TEST(ComposerMake, FramesAllocateNothing) {
  {
    AllocationCounter counter;  // the counter itself sees allocations
    auto probe = std::make_unique<int>(1);
    EXPECT_EQ(counter.Count(), 1u);
  }
  for (int kind = 0; kind < 3; ++kind) {
    ComposerParams param;
    param.MovePositionType = static_cast<uint8_t>(kind);
    Composer composer(6, param, ProgramRandom(), &TestFactory);
    composer.Prepare({640, 480}, Gradient(300, 200),
                     {.cutSide = 64, .speed = 4, .aspect = -2, .shuffle = true, .brightness = true});
    composer.Make();  // the tile takes its size on the first frame
    AllocationCounter counter;
    for (int i = 0; i < 50; ++i) composer.Make();
    EXPECT_EQ(counter.Count(), 0u) << "motion kind " << kind;
  }
}

}  // namespace
}  // namespace tessivane
