#include "pattern/PluginMethod.h"

#include <utility>

#include "base/Errors.h"
#include "pattern/PluginCalls.h"
#include "pattern/PluginLibrary.h"
#include "pattern/TilePainting.h"

namespace tessivane {

PluginMethod::PluginMethod(std::string dllFileName) : DllFileName(std::move(dllFileName)) {}

Point PluginMethod::TileSizeFor(int32_t symmetry, int32_t w, int32_t h) {
  const bool right = symmetry == kSymmetryRight || symmetry == kSymmetryRightDown;
  const bool down = symmetry == kSymmetryDown || symmetry == kSymmetryRightDown;
  return {right ? 2 * w - 2 : w, down ? 2 * h - 2 : h};
}

void PluginMethod::BuildMap() {
  // The plug-in's answers are looked up in this (possibly shuffled) map, so
  // the shuffle and the plug-in's geometry compose.
  FillIdentityPointMap(*this, CutWidth, CutHeight);

  PluginQuestion question;
  question.fileName = DllFileName;
  question.cutWidth = CutWidth;
  question.cutHeight = CutHeight;
  question.tileWidth = TileWidth;
  question.tileHeight = TileHeight;
  const PluginAnswers answers = AskPluginThroughRunner(question);

  TileWidth = answers.tileWidth;
  TileHeight = answers.tileHeight;
  if (answers.symmetryAnswered) Symmetry = answers.symmetry;
  // Every answer that passed its checks goes into the map, X outer, Y inner
  // (the runner has checked that they fit the area and the cut).
  size_t next = 0;
  for (int32_t x = 0; x < TileWidth && next < answers.sources.size(); ++x)
    for (int32_t y = 0; y < TileHeight && next < answers.sources.size(); ++y) {
      const int32_t source = answers.sources[next++];
      TileMap[x][y] = PointMap[PointX(source)][PointY(source)];
    }
  if (answers.errorNo != 0) {
    ErrorNo = answers.errorNo;
    ErrorText = PluginErrorDetail(question, answers);
  }
  if (answers.failed) throw SilentAbort();
}

void PluginMethod::MakeTile() {
  const Point size = TileSizeFor(Symmetry, TileWidth, TileHeight);
  Tile.SetSize(size.x, size.y);
  PaintMappedArea(*this, TileWidth, TileHeight, Symmetry == kSymmetryRight || Symmetry == kSymmetryRightDown);
  if (Symmetry == kSymmetryDown || Symmetry == kSymmetryRightDown) MirrorRows(Tile, TileHeight);
}

}  // namespace tessivane
