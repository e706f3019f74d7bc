// The plug-in method: a user's library decides which pixel of the cut shows
// at each position of the tile. The library is consulted only while the
// method is set up: BuildMap loads it, asks it for the size of the area it
// maps, asks once for the source point of every position of that area, asks
// which mirroring completes the tile, and unloads it again. Frames are made
// from TileMap alone, without any plug-in code.
#pragma once
#include <cstdint>
#include <string>

#include "base/Point.h"
#include "pattern/ConversionMethod.h"
#include "pattern/PluginLibrary.h"

namespace tessivane {

class PluginMethod : public ConversionMethod {
public:
  // The symmetry types: how MakeTile completes the tile from the mapped
  // area A (TileWidth x TileHeight).
  static constexpr int32_t kSymmetryNone = TESSIVANE_SYMMETRY_NONE;             // A as it is
  static constexpr int32_t kSymmetryRight = TESSIVANE_SYMMETRY_RIGHT;           // A, then mirrored right
  static constexpr int32_t kSymmetryDown = TESSIVANE_SYMMETRY_DOWN;             // A, then mirrored down
  static constexpr int32_t kSymmetryRightDown = TESSIVANE_SYMMETRY_RIGHT_DOWN;  // both

  explicit PluginMethod(std::string dllFileName = {});

  // Loads DllFileName and asks it, in this order: the four exports looked
  // up ("TessivaneDLL", "MakeImageSize", "MakeTransMethod",
  // "SymmetryType"; error 8 names the first missing one), the
  // identification (an answer other than TESSIVANE_PLUGIN_ID records error 13 and carries
  // on), the area size (CheckTileSize), the source point of every position
  // (errors 11, 17, 12, 18 for the first bad one), the symmetry type (error
  // 14). The library is unloaded on every path. The conversation runs
  // through the installed PluginCallRunner.
  void BuildMap() override;
  // One table lookup per pixel of the area plus the mirror copies.
  void MakeTile() override;

  // The tile size of a symmetry type for a w x h area; {w, h} for a type
  // outside 1..4.
  static Point TileSizeFor(int32_t symmetry, int32_t w, int32_t h);

  // Width and height of the plug-in's area, as "MakeImageSize" wrote them:
  // 0 after construction, the last answer after that (also after a failure).
  int32_t TileWidth = 0;
  int32_t TileHeight = 0;
  // Answer of "SymmetryType": 1..4 after a successful set-up.
  int32_t Symmetry = 0;
  // The library's path (UTF-8), as the setting "DllFileName" holds it.
  std::string DllFileName;
};

}  // namespace tessivane
