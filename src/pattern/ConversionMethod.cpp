#include "pattern/ConversionMethod.h"

#include <algorithm>
#include <utility>

#include "pattern/TilePainting.h"

namespace tessivane {

ConversionMethod::ConversionMethod() = default;
ConversionMethod::~ConversionMethod() = default;

void ConversionMethod::LoadPixels(const Bitmap& cut) {
  for (int y = 0; y < cut_.y; ++y) {
    const uint8_t* row = cut.Row(cut_.y - 1 - y);
    for (int x = 0; x < cut_.x; ++x) {
      Channels& c = pixels_[x][y];
      c.Blue = row[3 * x];
      c.Green = row[3 * x + 1];
      c.Red = row[3 * x + 2];
    }
  }
}

void ConversionMethod::ShuffleMap() {
  RandomGenerator& random = *shuffleRandom_;
  random.Randomize();
  const int64_t n = int64_t{cut_.x} * cut_.y;
  const auto w = static_cast<uint32_t>(cut_.x);
  const auto h = static_cast<uint32_t>(cut_.y);
  for (int64_t i = 0; i <= n; ++i) {
    // Draw order matters for reproducible maps: x1, x2, y1, y2.
    uint32_t x1 = random.Int(w);
    uint32_t x2 = random.Int(w);
    uint32_t y1 = random.Int(h);
    uint32_t y2 = random.Int(h);
    std::swap(PointMap[x1][y1], PointMap[x2][y2]);
  }
}

UnitFailure ConversionMethod::Setup(Point cut, bool shuffle, RandomGenerator& random) {
  // Stored before any check, so they stay set on failure.
  shuffle_ = shuffle;
  shuffleRandom_ = &random;
  cut_ = cut;
  setUp_ = false;
  // Only the width is tested: the other methods always get a square cut.
  if (!TakesOblongCut() && cut.x % 2 != 0) return {.number = kErrCutWidthOdd};
  if (const int32_t error = CutSizeError(cut, TakesOblongCut()); error != 0) return {.number = error};
  UnitFailure failure = BuildMap();
  setUp_ = failure.number == 0;
  return failure;
}

int32_t ConversionMethod::CutSizeError(Point cut, bool takesOblongCut) {
  if (cut.x > kMaxCut || cut.y > kMaxCut) return kErrCutTooLarge;
  // With the relaxed rules one side of at least 32 is enough, but an empty
  // side is not a cut (it would give an empty tile the composer cannot
  // repeat).
  const bool tooSmall = takesOblongCut ? (cut.x < kMinCut && cut.y < kMinCut) || cut.x < 1 || cut.y < 1
                                       : cut.x < kMinCut || cut.y < kMinCut;
  return tooSmall ? kErrCutTooSmall : 0;
}

Point ConversionMethod::TileSizeFor(int32_t symmetry, Point area) {
  const bool right = symmetry == kSymmetryRight || symmetry == kSymmetryRightDown;
  const bool down = symmetry == kSymmetryDown || symmetry == kSymmetryRightDown;
  return {right ? std::max(2 * area.x - 2, 0) : area.x, down ? std::max(2 * area.y - 2, 0) : area.y};
}

void ConversionMethod::Answer(Point area, int32_t symmetry) {
  area_ = area;
  symmetry_ = symmetry;
}

void ConversionMethod::FillIdentityPointMap(int width, int height) {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) PointMap[x][y] = PackPoint(x, y);
  if (shuffle_) ShuffleMap();
}

void ConversionMethod::BuildWholeCutMap(int width, int height) {
  FillIdentityPointMap(width, height);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) TileMap[x][y] = PointMap[x][y];
}

UnitFailure ConversionMethod::Make(const Bitmap& cut) {
  // A cut the set-up refused could lie beyond the grids: no frame without one.
  if (!setUp_ || cut.Width() != cut_.x || cut.Height() != cut_.y) return {.number = kErrCutSizeMismatch};
  LoadPixels(cut);
  return PaintTile(tile_);
}

UnitFailure ConversionMethod::PaintTile(Bitmap& tile) {
  PaintMappedTile(tile, TileMap, pixels_, area_, symmetry_);
  return {};
}

}  // namespace tessivane
