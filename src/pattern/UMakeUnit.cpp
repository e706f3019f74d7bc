#include "pattern/UMakeUnit.h"

#include <utility>

#include "base/Errors.h"
#include "base/Random.h"
#include "pattern/PluginLibrary.h"

namespace tessivane {

TMakeUnit::TMakeUnit() = default;
TMakeUnit::~TMakeUnit() = default;

void TMakeUnit::Fail(int32_t errorNo) {
  ErrorNo = errorNo;
  throw SilentAbort();
}

void TMakeUnit::LoadPixels() {
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

void TMakeUnit::SetCutImage(const Bitmap& graphic) {
  if (graphic.Width() != CutWidth || graphic.Height() != CutHeight) Fail(kErrCutSizeMismatch);
  CutImage.SetSize(CutWidth, CutHeight);
  CopyRect(CutImage, 0, 0, graphic, 0, 0, CutWidth, CutHeight);
  LoadPixels();
}

void TMakeUnit::ShuffleMap() {
  Randomize();
  const int64_t n = int64_t{CutWidth} * CutHeight;
  const auto w = static_cast<uint32_t>(CutWidth);
  const auto h = static_cast<uint32_t>(CutHeight);
  for (int64_t i = 0; i <= n; ++i) {
    // Draw order matters for reproducible maps: x1, x2, y1, y2.
    uint32_t x1 = RandomInt(w);
    uint32_t x2 = RandomInt(w);
    uint32_t y1 = RandomInt(h);
    uint32_t y2 = RandomInt(h);
    std::swap(PointMap[x1][y1], PointMap[x2][y2]);
  }
}

bool TMakeUnit::Setup(Point size, bool shuffle) {
  // Stored before any check, so they stay set on failure.
  ShufflePoints = shuffle;
  CutWidth = size.x;
  CutHeight = size.y;
  try {
    // Only the width is tested: the other methods always get a square cut.
    if (!AcceptsNonSquareCut() && CutWidth % 2 != 0) Fail(kErrCutWidthOdd);
    CheckSize();
    BuildMap();
    return true;
  } catch (...) {
    return false;
  }
}

void TMakeUnit::CheckSize() {
  if (CutWidth > kMaxCut || CutHeight > kMaxCut) Fail(kErrCutTooLarge);
  if (AcceptsNonSquareCut()) {
    // One side of at least 32 is enough, but an empty side is not a cut
    // (it would give an empty tile the composer cannot repeat).
    if ((CutWidth < kMinCut && CutHeight < kMinCut) || CutWidth < 1 || CutHeight < 1)
      Fail(kErrCutTooSmall);
  } else if (CutWidth < kMinCut || CutHeight < kMinCut) {
    Fail(kErrCutTooSmall);
  }
}

bool TMakeUnit::Make(const Bitmap& bitmap) {
  try {
    SetCutImage(bitmap);
    MakeTile();
    return true;
  } catch (...) {
    return false;
  }
}

// The three numberings of the conversion methods, and the method list's
// labels, in one table.
namespace {

struct MethodEntry {
  int type;         // type number
  int comboIndex;   // position in the method list, -1 for none
  int code;         // stored method code, -1 for none
  std::string_view label;
};

constexpr MethodEntry kMethods[] = {
    {1, 0, 0, "万華鏡風"},
    {2, 1, 1, "絨毯風"},
    {3, 2, 2, "テーブルクロス風"},
    {4, 3, 3, "タイル風"},
    {5, 6, 4, "長方形"},
    {6, 8, 5, "無変換"},
    {7, 4, 7, "花柄"},
    {kUnitTypeRandom, 9, 6, "ランダムに選ぶ"},
    {kUnitTypePlugin, -1, -1, ""},
    {10, 5, 8, "歪四角"},
    {11, 7, 9, "渦巻き"},
};

const MethodEntry* ByType(int type) {
  for (const MethodEntry& m : kMethods)
    if (m.type == type) return &m;
  return nullptr;
}

}  // namespace

int UnitTypeToCode(int type) {
  const MethodEntry* m = ByType(type);
  return m ? m->code : -1;
}

int CodeToUnitType(int code) {
  for (const MethodEntry& m : kMethods)
    if (code >= 0 && m.code == code) return m.type;
  return 0;
}

int UnitTypeToComboIndex(int type) {
  const MethodEntry* m = ByType(type);
  return m && m->comboIndex >= 0 ? m->comboIndex : 0;
}

int ComboIndexToUnitType(int index) {
  if (index < 1 || index >= kMethodListCount) return 1;
  for (const MethodEntry& m : kMethods)
    if (m.comboIndex == index) return m.type;
  return 1;
}

const std::array<std::string_view, kMethodListCount>& MethodListLabels() {
  static const std::array<std::string_view, kMethodListCount> labels = [] {
    std::array<std::string_view, kMethodListCount> a{};
    for (const MethodEntry& m : kMethods)
      if (m.comboIndex >= 0) a[static_cast<size_t>(m.comboIndex)] = m.label;
    return a;
  }();
  return labels;
}

void CheckPluginFile(const std::string& fileName) {
  PluginLibrary library = PluginLibrary::Open(fileName);
  if (!library.Loaded()) {
    ShowUnitError(kErrPluginLoad, DetailFile(fileName));
    throw SilentAbort();
  }
  auto identify = library.Find<TessivaneDllProc>(kExportTessivaneDll);
  if (!identify) {
    ShowUnitError(kErrPluginExport, DetailFunction(kExportTessivaneDll));
    throw SilentAbort();  // the handle unloads the library on the way out
  }
  if (identify() != 1) ShowUnitError(kErrPluginUnusable, UnitErrorMessage(kErrPluginUnusable));
}

}  // namespace tessivane
