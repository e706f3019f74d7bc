#include "pattern/Composer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/Errors.h"
#include "base/Numeric.h"
#include "motion/MotionPaths.h"

namespace tessivane {

TileCopies TileBitmap(FrameBitmap& image, const Bitmap& tile) {
  TileCopies copies;
  const int w = tile.Width();
  const int h = tile.Height();
  if (w <= 0 || h <= 0) return copies;  // nothing to repeat
  const int width = image.Width();
  const int height = image.Height();
  for (int f = w; f < width; f *= 2) ++copies.horizontal;
  for (int g = h; g < height; g *= 2) ++copies.vertical;
  // Each tile row is converted once, then doubled rightwards within its
  // own frame row while that row is still in the cache.
  ConvertRect(image, 0, 0, tile, 0, 0, w, h);
  const int rows = std::min(h, height);
  for (int y = 0; y < rows; ++y) {
    uint32_t* row = image.Row(y);
    for (int f = w; f < width; f *= 2)
      std::memcpy(row + f, row, static_cast<size_t>(std::min(f, width - f)) * FrameBitmap::kBytesPerPixel);
  }
  // Full-width rows are one contiguous run of bytes, so each downward
  // doubling is a single block copy of the rows filled so far.
  for (int g = h; g < height; g *= 2) {
    const int count = std::min(g, height - g);
    std::memcpy(image.Row(g), image.Row(0), static_cast<size_t>(count) * image.Stride());
  }
  return copies;
}

Composer::Composer(int unitType, const ComposerParams& param, RandomGenerator& random, MethodFactory factory)
    : random_(random) {
  random_.Randomize();
  UnitType = unitType;
  MovePositionType = param.MovePositionType;
  if (factory) Method = factory(unitType, param);
  if (!Method) {
    ErrorNo = kErrBadMethod;
    ErrorText.clear();
  }
}

Composer::~Composer() = default;

void Composer::Fail(int32_t errorNo) {
  ErrorNo = errorNo;
  ErrorText.clear();
  throw SilentAbort();
}

void Composer::FailFromUnit() {
  ErrorNo = Method->ErrorNo;
  ErrorText = Method->ErrorText;
  throw SilentAbort();
}

Point Composer::PieceSizeFor(int unitType, int32_t cutSide, int32_t aspect) {
  Extended fx = 1.0L;
  Extended fy = 1.0L;
  const MethodRow* row = MethodRowByType(unitType);
  if (row && row->Aspect != AspectSetting::None && aspect != 0) {
    // An edited store can hold any step; from 6 on the factor would be zero
    // or negative, so such steps count as the strongest one.
    const int32_t step = std::clamp(aspect, -kMaxAspect, kMaxAspect);
    if (step > 0)
      fx = 1.0L - step * kAspectStep;
    else
      fy = 1.0L - -step * kAspectStep;
  }
  return {static_cast<int32_t>(Round(cutSide * fx)), static_cast<int32_t>(Round(cutSide * fy))};
}

void Composer::Prepare(Point screenSize, Bitmap source, int64_t cutSide, int32_t speed, int32_t aspect,
                       bool shuffle, bool brightnessOn) {
  prepared_ = false;
  if (!Method) Fail(kErrBadMethod);
  UseShuffle = shuffle;
  SizeImage(screenSize);
  SourceWidth = source.Width();
  SourceHeight = source.Height();
  Source = std::move(source);
  // An edited store can ask for any size: one no picture could give is
  // refused before it reaches the piece and motion arithmetic.
  if (cutSide > kMaxCutSide) Fail(kErrCutTooLarge);
  if (cutSide < -kMaxCutSide) Fail(kErrCutTooSmall);
  CutSide = static_cast<int32_t>(cutSide);
  PieceAspect = aspect;
  const Point piece = PieceSizeFor(UnitType, CutSide, aspect);
  PieceWidth = piece.x;
  PieceHeight = piece.y;
  Piece.SetSize(std::max(0, PieceWidth), std::max(0, PieceHeight));
  // The rule looks at the cut side, not at the (possibly smaller) piece.
  if (SourceTooSmall(CutSide, SourceWidth, SourceHeight)) Fail(kErrSourceTooSmall);
  Motion.reset();
  Motion = MakeMotionPath(MovePositionType, 0, 0, speed,
                          Point{SourceWidth - PieceWidth, SourceHeight - PieceHeight}, random_);
  UseBrightnessChange = brightnessOn;
  Brightness.reset();
  Brightness = brightnessOn ? std::make_unique<BrightnessWave>(-0.3, 0.3, 0.01)
                            : std::make_unique<BrightnessWave>(0.0, 0.0, 0.0);
  if (!Method->Setup({PieceWidth, PieceHeight}, UseShuffle)) FailFromUnit();
  prepared_ = true;
}

// After a bounce of the straight-line motion the sampling position can lie
// up to a few pixels outside 0..SourceWidth-PieceWidth (or the vertical
// range) for some frames. The piece is then cut at the nearest position
// inside the source: it always shows real, whole picture content (no black
// or stale strip), it never reads outside Source, and the motion itself is
// left alone, so its path is the same as without the correction.
void Composer::CutPiece(Point at) {
  const int32_t x = std::clamp(at.x, 0, std::max(0, SourceWidth - PieceWidth));
  const int32_t y = std::clamp(at.y, 0, std::max(0, SourceHeight - PieceHeight));
  CopyRect(Piece, 0, 0, Source, x, y, PieceWidth, PieceHeight);
}

void Composer::SizeImage(Point screenSize) {
  if (MakesFrames) Image.SetSize(std::max(0, screenSize.x), std::max(0, screenSize.y));
}

void Composer::Resize(Point screenSize) {
  SizeImage(screenSize);
  if (prepared_ && MakesFrames) TileBitmap(Image, Method->Tile);
}

void Composer::Make() {
  // Only after a successful Prepare: the unit, motion and piece agree then.
  if (!prepared_) throw SilentAbort();
  Motion->Move();
  CutPiece(Motion->Position());
  if (UseBrightnessChange) {
    Effect.SetImage(Piece);
    Brightness->Next();
    Effect.ChangeBrightness(Brightness->Value);
    CopyRect(Piece, 0, 0, Effect.GetResult(), 0, 0, PieceWidth, PieceHeight);
  }
  if (!Method->Make(Piece)) FailFromUnit();
  const Bitmap& tile = Method->Tile;
  TileImage.SetSize(tile.Width(), tile.Height());
  ConvertRect(TileImage, 0, 0, tile, 0, 0, tile.Width(), tile.Height());
  if (MakesFrames) TileBitmap(Image, tile);
}

}  // namespace tessivane
