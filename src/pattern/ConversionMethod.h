// The unit transform base: every conversion method derives from ConversionMethod.
// A unit takes the piece the composer cuts each frame (the "cut") and turns
// it into a small seamless tile that the composer repeats over the screen.
//
// Coordinates inside a unit: x counts columns of the cut from the left, y
// counts rows upwards from the BOTTOM row of the cut (y = 0 is the cut's
// last bitmap row). A source point is packed as x * 256 + y.
//
// The grids are fixed-size members sized for the largest cut (256 x 256),
// so nothing is allocated when the cut size changes or per frame. That makes
// a unit object about 1.8 MB: create it on the heap (std::make_unique),
// once per composer, never on the stack.
#pragma once
#include <cstdint>
#include <string>

#include "base/Bitmap.h"
#include "base/Point.h"
#include "base/Random.h"

namespace tessivane {

class ConversionMethod {
public:
  static constexpr int kMaxCut = 256;  // largest cut side (grid size)
  static constexpr int kMinCut = 32;   // smallest cut side
  static constexpr int kTileMapWidth = 768;

  // The channel values of one cut pixel, each 0..255.
  struct Channels {
    int32_t Blue = 0;
    int32_t Green = 0;
    int32_t Red = 0;
  };

  ConversionMethod();
  virtual ~ConversionMethod();
  ConversionMethod(const ConversionMethod&) = delete;
  ConversionMethod& operator=(const ConversionMethod&) = delete;

  // The five per-method operations, in this order.
  // Copies CutImage into Pixels, turned upside down (y from the bottom).
  virtual void LoadPixels();
  // Takes the frame's cut: checks its size (error 3 and the silent abort on
  // a mismatch), copies it into CutImage and calls LoadPixels.
  virtual void SetCutImage(const Bitmap& graphic);
  // Size-dependent preparation, once per Setup: identity PointMap over the
  // area used, ShuffleMap when ShufflePoints, then TileMap from PointMap.
  virtual void BuildMap() = 0;
  // Builds Tile from Pixels through TileMap, every frame. Must not allocate
  // once Tile has its size.
  virtual void MakeTile() = 0;
  // Random swaps in PointMap over the cut, drawn from the generator Setup
  // was given (re-seeded first).
  virtual void ShuffleMap();

  // Decides the cut size and builds the maps. False on any failure; then
  // ErrorNo/ErrorText tell why. Throws only std::bad_alloc, when the
  // memory left cannot hold what the method needs.
  // `random` is what the point shuffle draws from.
  bool Setup(Point size, bool shuffle, RandomGenerator& random);
  // The shared size rules (errors 1 and 2 with the silent abort).
  void CheckSize();
  // One frame: SetCutImage, then MakeTile. False on any failure (Tile then
  // keeps the previous tile). Throws only std::bad_alloc.
  bool Make(const Bitmap& bitmap);

  // Error number of the last failure, 0 after construction, never reset.
  int32_t ErrorNo = 0;
  // Detail text for ErrorNo (only the plug-in transform sets it).
  std::string ErrorText;
  // The output tile; its size is set by MakeTile.
  Bitmap Tile;
  // Work copy of the current cut.
  Bitmap CutImage;
  // Cut pixels, indexed [x][y], y from the bottom.
  Channels Pixels[kMaxCut][kMaxCut]{};
  int32_t CutWidth = 0;
  int32_t CutHeight = 0;
  // Packed source points, indexed [x][y]; the extra column and row (256)
  // let a method address one position beyond the last pixel.
  int32_t PointMap[kMaxCut + 1][kMaxCut + 1]{};
  // Packed source point for each position of the area a method fills
  // through the map, indexed [x][y], y from the bottom.
  int32_t TileMap[kTileMapWidth][kMaxCut]{};
  bool ShufflePoints = false;

  static constexpr int32_t PackPoint(int32_t x, int32_t y) { return x * 256 + y; }
  static constexpr int32_t PointX(int32_t packed) { return packed / 256; }
  static constexpr int32_t PointY(int32_t packed) { return packed % 256; }

  // Whether the relaxed size rules apply: odd widths pass, and one side of
  // at least 32 is enough. The method's row says it (MethodRow::
  // TakesOblongCut), and CreateMethodByType sets it from there.
  bool TakesOblongCut() const { return takesOblongCut_; }
  void SetTakesOblongCut(bool takes) { takesOblongCut_ = takes; }

protected:
  // Records errorNo and raises the silent abort.
  [[noreturn]] void Fail(int32_t errorNo);

private:
  bool takesOblongCut_ = false;
  RandomGenerator* shuffleRandom_ = nullptr;  // the generator of the last Setup
};

}  // namespace tessivane
