#include "pattern/PluginMethod.h"

#include <memory>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "pattern/PluginCalls.h"
#include "pattern/PluginLibrary.h"
#include "pattern/TilePainting.h"

namespace tessivane {

namespace {

// The kit's header tells plug-in authors the same limits.
static_assert(TESSIVANE_MIN_SIDE == ConversionMethod::kMinCut &&
              TESSIVANE_MAX_SIDE == ConversionMethod::kMaxCut);

// One set-up's conversation with the library. It owns everything it
// touches, because a runner may leave it running (inside a plug-in that
// never returns) after the run has ended and the method is gone.
struct PluginSession {
  // Asked with these.
  std::string fileName;
  int32_t cutWidth = 0;
  int32_t cutHeight = 0;
  // Answers; the area size starts from the method's last answer, since the
  // plug-in writes it in place and need not write it at all.
  int32_t tileWidth = 0;
  int32_t tileHeight = 0;
  int32_t symmetry = 0;
  bool symmetryAnswered = false;
  // Packed source point of every position answered, X outer, Y inner.
  std::vector<int32_t> sources;
  // The failure that ended the set-up, or 13 recorded on the way.
  int32_t errorNo = 0;
  std::string errorText;
  bool failed = false;

  void Fail(int32_t number, std::string detail) {
    errorNo = number;
    errorText = std::move(detail);
    failed = true;
  }

  // The area size rules, in this order: width above 256, width below 32,
  // height above 256, height below 32.
  bool CheckTileSize() {
    constexpr int32_t kMax = ConversionMethod::kMaxCut;
    constexpr int32_t kMin = ConversionMethod::kMinCut;
    if (tileWidth > kMax) Fail(kErrPluginWidthLarge, DetailLimit(tileWidth, kMax));
    else if (tileWidth < kMin) Fail(kErrPluginWidthSmall, DetailLimit(tileWidth, kMin));
    else if (tileHeight > kMax) Fail(kErrPluginHeightLarge, DetailLimit(tileHeight, kMax));
    else if (tileHeight < kMin) Fail(kErrPluginHeightSmall, DetailLimit(tileHeight, kMin));
    return !failed;
  }

  // A source point inside the cut, in this order: x too large, x negative,
  // y too large, y negative.
  bool CheckSource(int32_t sourceX, int32_t sourceY) {
    if (sourceX >= cutWidth) Fail(kErrPluginXOutside, DetailLimit(sourceX, cutWidth));
    else if (sourceX < 0) Fail(kErrPluginXNegative, DetailLimit(sourceX, 0));
    else if (sourceY >= cutHeight) Fail(kErrPluginYOutside, DetailLimit(sourceY, cutHeight));
    else if (sourceY < 0) Fail(kErrPluginYNegative, DetailLimit(sourceY, 0));
    return !failed;
  }

  void Run() {
    PluginLibrary library = PluginLibrary::Open(fileName);
    if (!library.Loaded()) return Fail(kErrPluginLoad, DetailFile(fileName));
    // From here on `library` unloads the library whichever way this ends.
    auto identify = library.Find<TessivaneDllProc>(kExportTessivaneDll);
    if (!identify) return Fail(kErrPluginExport, DetailFunction(kExportTessivaneDll));
    auto makeImageSize = library.Find<MakeImageSizeProc>(kExportMakeImageSize);
    if (!makeImageSize) return Fail(kErrPluginExport, DetailFunction(kExportMakeImageSize));
    auto makeTransMethod = library.Find<MakeTransMethodProc>(kExportMakeTransMethod);
    if (!makeTransMethod) return Fail(kErrPluginExport, DetailFunction(kExportMakeTransMethod));
    auto symmetryType = library.Find<SymmetryTypeProc>(kExportSymmetryType);
    if (!symmetryType) return Fail(kErrPluginExport, DetailFunction(kExportSymmetryType));

    // A plug-in that does not say it was written for this interface is
    // noted, and asked all the same: a later failure overwrites the note.
    if (identify() != TESSIVANE_PLUGIN_ID) {
      errorNo = kErrPluginUnusable;
      errorText = UnitErrorMessage(kErrPluginUnusable);
    }
    makeImageSize(cutWidth, cutHeight, &tileWidth, &tileHeight);
    if (!CheckTileSize()) return;

    sources.reserve(static_cast<size_t>(tileWidth) * static_cast<size_t>(tileHeight));
    int32_t sourceX = 0;  // not reset between the questions
    int32_t sourceY = 0;
    for (int32_t x = 0; x < tileWidth; ++x) {
      for (int32_t y = 0; y < tileHeight; ++y) {
        makeTransMethod(tileWidth, tileHeight, x, y, &sourceX, &sourceY);
        if (!CheckSource(sourceX, sourceY)) return;
        sources.push_back(ConversionMethod::PackPoint(sourceX, sourceY));
      }
    }
    symmetry = symmetryType();
    symmetryAnswered = true;
    if (symmetry < PluginMethod::kSymmetryNone || symmetry > PluginMethod::kSymmetryRightDown)
      Fail(kErrPluginSymmetry, DetailSymmetry(symmetry));
  }
};

}  // namespace

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

  auto session = std::make_shared<PluginSession>();
  session->fileName = DllFileName;
  session->cutWidth = CutWidth;
  session->cutHeight = CutHeight;
  session->tileWidth = TileWidth;
  session->tileHeight = TileHeight;
  RunPluginCalls([session] { session->Run(); });

  TileWidth = session->tileWidth;
  TileHeight = session->tileHeight;
  if (session->symmetryAnswered) Symmetry = session->symmetry;
  // Every answer that passed its checks goes into the map, X outer, Y inner.
  size_t next = 0;
  for (int32_t x = 0; x < TileWidth && next < session->sources.size(); ++x)
    for (int32_t y = 0; y < TileHeight && next < session->sources.size(); ++y) {
      const int32_t source = session->sources[next++];
      TileMap[x][y] = PointMap[PointX(source)][PointY(source)];
    }
  if (session->errorNo != 0) {
    ErrorNo = session->errorNo;
    ErrorText = session->errorText;
  }
  if (session->failed) throw SilentAbort();
}

void PluginMethod::MakeTile() {
  const Point size = TileSizeFor(Symmetry, TileWidth, TileHeight);
  Tile.SetSize(size.x, size.y);
  PaintMappedArea(*this, TileWidth, TileHeight, Symmetry == kSymmetryRight || Symmetry == kSymmetryRightDown);
  if (Symmetry == kSymmetryDown || Symmetry == kSymmetryRightDown) MirrorRows(Tile, TileHeight);
}

}  // namespace tessivane
