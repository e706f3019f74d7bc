// The unit transform base: every conversion method derives from ConversionMethod.
// A unit takes the piece the composer cuts each frame (the "cut") and turns
// it into a small seamless tile that the composer repeats over the screen.
//
// Every method, built in or a plug-in, answers its set-up the same way: the
// size of the area it maps, its symmetry (how that area completes the
// tile, the plug-in kit's TESSIVANE_SYMMETRY_* types) and its map (the cut
// point each position of the area shows). One painter makes every frame's
// tile from those answers; a method whose tile is no map of the cut may
// paint its own instead (PaintTile). A failure is one UnitFailure value,
// returned where it happens.
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

#include "base/Bitmap.h"
#include "base/Errors.h"
#include "base/Point.h"
#include "base/Random.h"
#include "TessivanePlugin.h"

namespace tessivane {

class ConversionMethod {
public:
  static constexpr int kMaxCut = 256;  // largest cut side (grid size)
  static constexpr int kMinCut = 32;   // smallest cut side
  static constexpr int kTileMapWidth = 768;

  // How the mapped area A completes the tile.
  static constexpr int32_t kSymmetryNone = TESSIVANE_SYMMETRY_NONE;             // A as it is
  static constexpr int32_t kSymmetryRight = TESSIVANE_SYMMETRY_RIGHT;           // A, then mirrored right
  static constexpr int32_t kSymmetryDown = TESSIVANE_SYMMETRY_DOWN;             // A, then mirrored down
  static constexpr int32_t kSymmetryRightDown = TESSIVANE_SYMMETRY_RIGHT_DOWN;  // both

  // The channel values of one cut pixel, each 0..255.
  struct Channels {
    int32_t Blue = 0;
    int32_t Green = 0;
    int32_t Red = 0;
  };
  // Packed cut points, indexed [x][y], y from the bottom.
  using AreaMap = int32_t[kTileMapWidth][kMaxCut];
  // Cut pixels, indexed [x][y], y from the bottom.
  using CutPixels = Channels[kMaxCut][kMaxCut];

  ConversionMethod();
  virtual ~ConversionMethod();
  ConversionMethod(const ConversionMethod&) = delete;
  ConversionMethod& operator=(const ConversionMethod&) = delete;

  // Sets the method up for a cut of `cut`: the size rules, then the map.
  // Returns the failure (number 0 on success). Throws only std::bad_alloc,
  // when the memory left cannot hold what the method needs, and
  // PluginRunEnded. `random` is what the point shuffle draws from.
  UnitFailure Setup(Point cut, bool shuffle, RandomGenerator& random);
  // The size rules' error for a cut (0 when it passes): 1 for a side above
  // 256, else 2 for a side below 32 (with the relaxed rules of
  // takesOblongCut, only when both are, or a side is empty).
  static int32_t CutSizeError(Point cut, bool takesOblongCut);

  // The answers of the last Setup: the cut it was for (kept when it
  // failed), the mapped area, the symmetry and the map over the area.
  Point Cut() const { return cut_; }
  Point Area() const { return area_; }
  int32_t Symmetry() const { return symmetry_; }
  const AreaMap& Map() const { return TileMap; }
  // The tile's size for a symmetry type and an area: each mirrored side
  // 2n - 2 (never below 0); an unknown type mirrors nothing.
  static Point TileSizeFor(int32_t symmetry, Point area);

  // One frame: loads `cut` and paints Tile(). Error 3 when `cut` is not of
  // the set-up size (or the last Setup failed); Tile() then keeps the
  // previous tile. Allocates nothing once Tile() has its size.
  UnitFailure Make(const Bitmap& cut);
  const Bitmap& Tile() const { return tile_; }

  static constexpr int32_t PackPoint(int32_t x, int32_t y) { return x * 256 + y; }
  static constexpr int32_t PointX(int32_t packed) { return packed / 256; }
  static constexpr int32_t PointY(int32_t packed) { return packed % 256; }

  // Whether the relaxed size rules apply: odd widths pass, and one side of
  // at least 32 is enough. The method's row says it (MethodRow::
  // TakesOblongCut), and CreateMethodByType sets it from there.
  bool TakesOblongCut() const { return takesOblongCut_; }
  void SetTakesOblongCut(bool takes) { takesOblongCut_ = takes; }

protected:
  // Size-dependent preparation, once per Setup, with Cut() checked: the
  // identity PointMap over the area used (FillIdentityPointMap, which
  // shuffles it when asked), then TileMap from PointMap by the method's
  // geometry, then Answer. Returns the failure (number 0 when none).
  virtual UnitFailure BuildMap() = 0;
  // Random swaps in PointMap over the cut, drawn from the generator Setup
  // was given (re-seeded first).
  virtual void ShuffleMap();
  // Paints this frame's tile from the loaded cut (Pixel). The map's
  // painter, for every method whose tile is a map of the cut; a method
  // whose tile is not paints its own here, and may fail.
  virtual UnitFailure PaintTile(Bitmap& tile);

  // Records the area and symmetry that BuildMap answers.
  void Answer(Point area, int32_t symmetry);
  // PointMap := the identity over width x height (x outer, y inner), then
  // shuffled when the set-up asks for it.
  void FillIdentityPointMap(int width, int height);
  // The identity fill, then TileMap := PointMap over width x height: the map
  // of the methods that show the whole cut.
  void BuildWholeCutMap(int width, int height);
  // Whether the set-up shuffles the points (FillIdentityPointMap does).
  bool Shuffles() const { return shuffle_; }
  // The loaded cut pixel at (x, y), y from the bottom.
  const Channels& Pixel(int x, int y) const { return pixels_[x][y]; }

  // Packed source points, indexed [x][y]; the extra column and row (256)
  // let a method address one position beyond the last pixel. An entry no
  // set-up writes keeps what an earlier one left (0 at first).
  int32_t PointMap[kMaxCut + 1][kMaxCut + 1]{};
  // Packed source point for each position of the mapped area, indexed
  // [x][y], y from the bottom.
  AreaMap TileMap{};

private:
  void LoadPixels(const Bitmap& cut);

  bool takesOblongCut_ = false;
  bool shuffle_ = false;
  bool setUp_ = false;                        // the last Setup succeeded
  RandomGenerator* shuffleRandom_ = nullptr;  // the generator of the last Setup
  Point cut_{};
  Point area_{};
  int32_t symmetry_ = 0;
  // The loaded cut; pixels beyond it keep what an earlier, larger cut left.
  CutPixels pixels_{};
  Bitmap tile_;
};

}  // namespace tessivane
