#include "pattern/ConversionMethod.h"

#include <utility>

#include "base/Errors.h"
#include "base/Random.h"

namespace tessivane {

ConversionMethod::ConversionMethod() = default;
ConversionMethod::~ConversionMethod() = default;

void ConversionMethod::Fail(int32_t errorNo) {
  ErrorNo = errorNo;
  throw SilentAbort();
}

void ConversionMethod::LoadPixels() {
  for (int y = 0; y < CutHeight; ++y) {
    const uint8_t* row = CutImage.Row(CutHeight - 1 - y);
    for (int x = 0; x < CutWidth; ++x) {
      Channels& c = Pixels[x][y];
      c.Blue = row[3 * x];
      c.Green = row[3 * x + 1];
      c.Red = row[3 * x + 2];
    }
  }
}

void ConversionMethod::SetCutImage(const Bitmap& graphic) {
  if (graphic.Width() != CutWidth || graphic.Height() != CutHeight) Fail(kErrCutSizeMismatch);
  CutImage.SetSize(CutWidth, CutHeight);
  CopyRect(CutImage, 0, 0, graphic, 0, 0, CutWidth, CutHeight);
  LoadPixels();
}

void ConversionMethod::ShuffleMap() {
  RandomGenerator& random = *shuffleRandom_;
  random.Randomize();
  const int64_t n = int64_t{CutWidth} * CutHeight;
  const auto w = static_cast<uint32_t>(CutWidth);
  const auto h = static_cast<uint32_t>(CutHeight);
  for (int64_t i = 0; i <= n; ++i) {
    // Draw order matters for reproducible maps: x1, x2, y1, y2.
    uint32_t x1 = random.Int(w);
    uint32_t x2 = random.Int(w);
    uint32_t y1 = random.Int(h);
    uint32_t y2 = random.Int(h);
    std::swap(PointMap[x1][y1], PointMap[x2][y2]);
  }
}

bool ConversionMethod::Setup(Point size, bool shuffle, RandomGenerator& random) {
  // Stored before any check, so they stay set on failure.
  ShufflePoints = shuffle;
  shuffleRandom_ = &random;
  CutWidth = size.x;
  CutHeight = size.y;
  try {
    // Only the width is tested: the other methods always get a square cut.
    if (!TakesOblongCut() && CutWidth % 2 != 0) Fail(kErrCutWidthOdd);
    CheckSize();
    BuildMap();
    return true;
  } catch (const SilentAbort&) {
    return false;  // ErrorNo says why
  }
}

void ConversionMethod::CheckSize() {
  if (CutWidth > kMaxCut || CutHeight > kMaxCut) Fail(kErrCutTooLarge);
  if (TakesOblongCut()) {
    // One side of at least 32 is enough, but an empty side is not a cut
    // (it would give an empty tile the composer cannot repeat).
    if ((CutWidth < kMinCut && CutHeight < kMinCut) || CutWidth < 1 || CutHeight < 1) Fail(kErrCutTooSmall);
  } else if (CutWidth < kMinCut || CutHeight < kMinCut) {
    Fail(kErrCutTooSmall);
  }
}

bool ConversionMethod::Make(const Bitmap& bitmap) {
  try {
    SetCutImage(bitmap);
    MakeTile();
    return true;
  } catch (const SilentAbort&) {
    return false;  // ErrorNo says why
  }
}

}  // namespace tessivane
