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
  unitType_ = unitType;
  movePositionType_ = param.MovePositionType;
  if (factory) method_ = factory(unitType, param);
  if (!method_) error_ = {.number = kErrBadMethod};
}

Composer::~Composer() = default;

void Composer::Fail(UnitFailure failure) {
  error_ = std::move(failure);
  throw UnitFailed(error_);
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

void Composer::Prepare(Point screenSize, Bitmap source, const PieceSettings& settings) {
  const int64_t cutSide = settings.cutSide;
  const int32_t aspect = settings.aspect;
  prepared_ = false;
  if (!method_) Fail({.number = kErrBadMethod});
  settings_ = settings;
  SizeImage(screenSize);
  sourceWidth_ = source.Width();
  sourceHeight_ = source.Height();
  source_ = std::move(source);
  // An edited store can ask for any size: one no picture could give is
  // refused before it reaches the piece and motion arithmetic.
  if (cutSide > kMaxCutSide) Fail({.number = kErrCutTooLarge});
  if (cutSide < -kMaxCutSide) Fail({.number = kErrCutTooSmall});
  const Point piece = PieceSizeFor(unitType_, static_cast<int32_t>(cutSide), aspect);
  pieceWidth_ = piece.x;
  pieceHeight_ = piece.y;
  piece_.SetSize(std::max(0, pieceWidth_), std::max(0, pieceHeight_));
  // The rule looks at the cut side, not at the (possibly smaller) piece.
  if (SourceTooSmall(cutSide, sourceWidth_, sourceHeight_)) Fail({.number = kErrSourceTooSmall});
  motion_.reset();
  motion_ = MakeMotionPath(movePositionType_, 0, 0, settings.speed,
                           Point{sourceWidth_ - pieceWidth_, sourceHeight_ - pieceHeight_}, random_);
  brightness_.reset();
  brightness_ = settings.brightness ? std::make_unique<BrightnessWave>(-0.3, 0.3, 0.01)
                                    : std::make_unique<BrightnessWave>(0.0, 0.0, 0.0);
  if (UnitFailure failure = method_->Setup({pieceWidth_, pieceHeight_}, settings.shuffle, random_);
      failure.number != 0)
    Fail(std::move(failure));
  prepared_ = true;
}

// After a bounce of the straight-line motion the sampling position can lie
// up to a few pixels outside 0..SourceWidth-PieceWidth (or the vertical
// range) for some frames. The piece is then cut at the nearest position
// inside the source: it always shows real, whole picture content (no black
// or stale strip), it never reads outside the source, and the motion itself is
// left alone, so its path is the same as without the correction.
const Bitmap& Composer::TileOfPiece(const Bitmap& source) {
  const Point at = motion_->Position();
  const int32_t x = std::clamp(at.x, 0, std::max(0, source.Width() - pieceWidth_));
  const int32_t y = std::clamp(at.y, 0, std::max(0, source.Height() - pieceHeight_));
  CopyRect(piece_, 0, 0, source, x, y, pieceWidth_, pieceHeight_);
  if (settings_.brightness) {
    effect_.SetImage(piece_);
    effect_.ChangeBrightness(brightness_->Value);
    CopyRect(piece_, 0, 0, effect_.GetResult(), 0, 0, pieceWidth_, pieceHeight_);
  }
  if (UnitFailure failure = method_->Make(piece_); failure.number != 0) Fail(std::move(failure));
  return method_->Tile();
}

void Composer::SizeImage(Point screenSize) {
  if (makesFrames_) image_.SetSize(std::max(0, screenSize.x), std::max(0, screenSize.y));
}

void Composer::Resize(Point screenSize) {
  SizeImage(screenSize);
  if (prepared_ && makesFrames_) TileBitmap(image_, method_->Tile());
}

void Composer::Make() { ShowTile(MakeTile()); }

const Bitmap& Composer::MakeTile() {
  // Only after a successful Prepare: the unit, motion and piece agree then.
  if (!prepared_) throw SilentAbort();
  motion_->Move();
  if (settings_.brightness) brightness_->Next();
  return TileOfPiece(source_);
}

const Bitmap& Composer::MakeTileOf(const Bitmap& source) {
  if (!prepared_) throw SilentAbort();
  return TileOfPiece(source);
}

void Composer::ShowTile(const Bitmap& tile) {
  tileImage_.SetSize(tile.Width(), tile.Height());
  ConvertRect(tileImage_, 0, 0, tile, 0, 0, tile.Width(), tile.Height());
  if (makesFrames_) TileBitmap(image_, tile);
}

}  // namespace tessivane
