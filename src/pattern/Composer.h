// The image composer: turns a source picture into screen-filling
// kaleidoscope frames. Each frame it moves the sampling position, cuts the
// piece there, optionally changes its brightness, lets the unit transform
// build a tile from it, converts the tile into TileImage and, when it makes
// whole frames, repeats the tile over Image by doubling copies.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/Bitmap.h"
#include "base/Errors.h"
#include "base/FrameBitmap.h"
#include "base/Numeric.h"
#include "base/Point.h"
#include "base/Random.h"
#include "images/ImageEffect.h"
#include "images/BrightnessWave.h"
#include "motion/MotionPath.h"
#include "pattern/ConversionMethod.h"
#include "pattern/MethodTable.h"
#include "pattern/PieceLimits.h"

namespace tessivane {

// How many block copies a tiling took in each direction.
struct TileCopies {
  int horizontal = 0;
  int vertical = 0;
};

// Fills image with tile: the tile converted to the frame's format at
// (0, 0), then doubled rightwards over the tile's rows, then the filled
// band doubled downwards; copies beyond the edge are clipped. Allocates
// nothing. An empty tile leaves image as it is.
TileCopies TileBitmap(FrameBitmap& image, const Bitmap& tile);

// What the composer makes its pieces with, taken from the run's
// description: the cut side (CutSideOf the Size setting), the motion's
// speed, the aspect step, the point shuffle and the brightness change.
struct PieceSettings {
  int64_t cutSide = 0;
  int32_t speed = 0;
  int32_t aspect = 0;
  bool shuffle = false;
  bool brightness = false;
};

class Composer {
public:
  static constexpr int kMaxAspect = kMaxPieceAspect;  // aspect steps -5..5
  static constexpr Extended kAspectStep = 0.18L;      // share of CutSide per step
  // Far beyond any picture's side, and small enough that no pixel
  // arithmetic on a piece of that size can overflow 32 bits.
  static constexpr int64_t kMaxCutSide = int64_t{1} << 30;

  // Creates the unit of unitType with `factory` (re-seeding `random`
  // first). `random` is the generator the motion paths draw from, for the
  // composer's whole life. Never throws for a bad type number: Error() is
  // then error 6 and Method() null.
  Composer(int unitType, const ComposerParams& param, RandomGenerator& random,
           MethodFactory factory = &CreateMethodByType);
  ~Composer();
  Composer(const Composer&) = delete;
  Composer& operator=(const Composer&) = delete;

  // Sizes everything for a window of screenSize and a new source picture,
  // restarts the motion at (0, 0) and the brightness at 0, and sets the unit
  // up. The composer keeps its own copy of source (a picture handed over
  // with std::move is taken as it is, without a copy). A cut side beyond
  // +-kMaxCutSide fails at once with error 1 (too large) or 2 (negative).
  // On failure throws UnitFailed with the error, which Error() keeps too.
  void Prepare(Point screenSize, Bitmap source, const PieceSettings& settings);
  // The window's client area changed: Image takes screenSize at once and,
  // once prepared, shows the current tile over it, so the next paint has no
  // black or missing part (without MakesFrames, Image stays empty). The source, the unit, the motion and the
  // brightness go on where they were: the tiling starts at (0, 0) whatever
  // the size. Throws std::length_error for a size no frame can have, and
  // std::bad_alloc; Image is then unchanged.
  void Resize(Point screenSize);
  // One frame into TileImage and, with MakesFrames, into Image: ShowTile
  // of MakeTile. On failure throws UnitFailed (the unit's error when the
  // unit failed; SilentAbort alone before a successful Prepare). Allocates
  // nothing unless the tile's size changed.
  void Make();
  // One frame's tile, without showing it: the motion and the brightness
  // step, the piece is cut and the unit makes its tile, which is returned
  // (the unit holds it until its next tile); TileImage and Image stay as
  // they are. Throws as Make does.
  const Bitmap& MakeTile();
  // After Make: the tile another source picture gives at this frame's cut,
  // clamped inside that picture, with this frame's brightness (the motion
  // and the brightness do not step). Returns the unit's tile, which Piece
  // and the unit now hold until the next Make. Allocates nothing. Throws
  // UnitFailed as Make does.
  const Bitmap& MakeTileOf(const Bitmap& source);
  // Shows `tile` (24 bits per pixel, of the unit's tile size) as this
  // frame's tile: into TileImage and, with MakesFrames, repeated over Image.
  void ShowTile(const Bitmap& tile);

  // The piece size for a cut side and aspect step. Only type numbers 5
  // and 6 (the two methods that take a non-square cut) use the aspect; a
  // positive step narrows, a negative step flattens, by 18 % per step.
  // Steps beyond +-5 count as +-5.
  static Point PieceSizeFor(int unitType, int32_t cutSide, int32_t aspect);
  // Whether a source picture of width x height is large enough for a unit
  // size: both sides at least 1.5 times the cut side (else error 5).
  static bool SourceFits(int32_t cutSide, int32_t width, int32_t height) {
    return !(1.5L * cutSide > width || 1.5L * cutSide > height);
  }
  // Whether Prepare would refuse a source of width x height with error 5
  // for this cut side (a cut side outside +-kMaxCutSide fails earlier,
  // with error 1 or 2, whatever the source).
  static bool SourceTooSmall(int64_t cutSide, int32_t width, int32_t height) {
    return cutSide >= -kMaxCutSide && cutSide <= kMaxCutSide &&
           !SourceFits(static_cast<int32_t>(cutSide), width, height);
  }

  // Whether Prepare, Resize and Make fill Image. Without it Image stays
  // empty and TileImage is the whole output: its repetition from the
  // window's top-left corner is the frame (the saver window lets the GDI
  // repeat it). Set before Prepare.
  void SetMakesFrames(bool makesFrames) { makesFrames_ = makesFrames; }
  // The output frame, window-sized, 32 bits per pixel.
  const FrameBitmap& Image() const { return image_; }
  // This frame's tile, 32 bits per pixel; Image repeats it from (0, 0).
  const FrameBitmap& TileImage() const { return tileImage_; }
  const ConversionMethod* Method() const { return method_.get(); }  // null when the type has no class
  int32_t UnitType() const { return unitType_; }
  // Hands the source picture back (the composer keeps an empty one).
  Bitmap TakeSource() { return std::move(source_); }
  // The last failure: error 6 from the constructor, else the last one
  // thrown (number 0 when there was none).
  const UnitFailure& Error() const { return error_; }

  // What the tests look at where no frame shows it: this frame's cut, the
  // own copy of the source picture, the settings of the last Prepare, the
  // motion path and the brightness wave (both null until Prepare); and a
  // scripted path in place of the one Prepare made.
  const Bitmap& PieceForTesting() const { return piece_; }
  const Bitmap& SourceForTesting() const { return source_; }
  const PieceSettings& SettingsForTesting() const { return settings_; }
  const MotionPath* MotionForTesting() const { return motion_.get(); }
  const BrightnessWave* BrightnessForTesting() const { return brightness_.get(); }
  void SetMotionForTesting(std::unique_ptr<MotionPath> motion) { motion_ = std::move(motion); }

private:
  [[noreturn]] void Fail(UnitFailure failure);
  // The piece at the motion's position in `source`, with this frame's
  // brightness, made into the unit's tile.
  const Bitmap& TileOfPiece(const Bitmap& source);
  void SizeImage(Point screenSize);

  RandomGenerator& random_;
  bool prepared_ = false;  // the last Prepare succeeded
  bool makesFrames_ = true;
  FrameBitmap image_;
  FrameBitmap tileImage_;
  Bitmap piece_;
  std::unique_ptr<ConversionMethod> method_;
  int32_t unitType_ = 0;
  Bitmap source_;
  int32_t sourceWidth_ = 0;
  int32_t sourceHeight_ = 0;
  PieceSettings settings_;
  int32_t pieceWidth_ = 0;
  int32_t pieceHeight_ = 0;
  ImageEffect effect_;
  UnitFailure error_;
  std::unique_ptr<MotionPath> motion_;
  uint8_t movePositionType_ = 0;
  std::unique_ptr<BrightnessWave> brightness_;
};

}  // namespace tessivane
