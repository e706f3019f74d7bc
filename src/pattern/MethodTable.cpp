#include "pattern/MethodTable.h"

#include <algorithm>

#include "pattern/CarpetMethod.h"
#include "pattern/DistortedSquareMethod.h"
#include "pattern/FloralMethod.h"
#include "pattern/KaleidoscopeMethod.h"
#include "pattern/NoConversionMethod.h"
#include "pattern/PluginMethod.h"
#include "pattern/RectangleMethod.h"
#include "pattern/SpiralMethod.h"
#include "pattern/TableclothMethod.h"
#include "pattern/TileMethod.h"

namespace tessivane {

namespace {

// A method class that needs nothing from the parameters.
template <class Method>
std::unique_ptr<ConversionMethod> Plain(const ComposerParams&) {
  return std::make_unique<Method>();
}

std::unique_ptr<ConversionMethod> DistortedSquare(const ComposerParams& params) {
  return std::make_unique<DistortedSquareMethod>(params.Rotate);
}

std::unique_ptr<ConversionMethod> Plugin(const ComposerParams& params) {
  return std::make_unique<PluginMethod>(params.DllFileName);
}

using enum AspectSetting;

// type, code, list position, label (catalog entry), renderer name, constructor,
// oblong cut, aspect step, width only, picked at random by default
constexpr MethodRow kMethodRows[] = {
    {1, 0, 0, TextId::kMethodKaleidoscope, "kaleidoscope", Plain<KaleidoscopeMethod>, false, None, true,
     true},
    {2, 1, 1, TextId::kMethodCarpet, "carpet", Plain<CarpetMethod>, false, None, true, true},
    {3, 2, 2, TextId::kMethodTablecloth, "tablecloth", Plain<TableclothMethod>, false, None, true, true},
    {4, 3, 3, TextId::kMethodTile, "tile", Plain<TileMethod>, false, None, true, true},
    {5, 4, 6, TextId::kMethodRectangle, "rectangle", Plain<RectangleMethod>, true, Rectangle, false, true},
    {6, 5, 8, TextId::kMethodNoConversion, "none", Plain<NoConversionMethod>, true, NoConversion, false,
     true},
    {7, 7, 4, TextId::kMethodFloral, "floral", Plain<FloralMethod>, false, None, true, true},
    {kMethodTypeRandom, 6, kListLast, TextId::kMethodRandom, "random", nullptr, false, None, false, false},
    {kMethodTypePlugin, -1, -1, TextId::kCount, "", Plugin, false, None, false, false},
    {10, 8, 5, TextId::kMethodDistortedSquare, "distorted", DistortedSquare, false, None, false, false},
    {11, 9, 7, TextId::kMethodSpiral, "spiral", Plain<SpiralMethod>, false, None, true, false},
};

std::span<const MethodRow> g_rows = kMethodRows;

// A row's list position, kListLast resolved.
int ListPositionOf(const MethodRow& m) {
  return m.ListPosition == kListLast ? MethodListCount() - 1 : m.ListPosition;
}

}  // namespace

std::span<const MethodRow> MethodRows() { return g_rows; }

ScopedMethodRows::ScopedMethodRows(std::span<const MethodRow> rows) : previous_(g_rows) { g_rows = rows; }
ScopedMethodRows::~ScopedMethodRows() { g_rows = previous_; }

int MethodListCount() {
  int count = 0;
  for (const MethodRow& m : g_rows) count += m.ListPosition >= 0 ? 1 : 0;
  return count;
}

int MethodCodeCount() {
  int count = 0;
  for (const MethodRow& m : g_rows) count = std::max(count, m.Code + 1);
  return count;
}

const MethodRow* MethodRowByType(int type) {
  for (const MethodRow& m : g_rows)
    if (m.Type == type) return &m;
  return nullptr;
}

int MethodTypeToCode(int type) {
  const MethodRow* m = MethodRowByType(type);
  return m ? m->Code : -1;
}

int CodeToMethodType(int code) {
  for (const MethodRow& m : g_rows)
    if (code >= 0 && m.Code == code) return m.Type;
  return 0;
}

int MethodTypeToListPosition(int type) {
  const MethodRow* m = MethodRowByType(type);
  return m && m->ListPosition >= 0 ? ListPositionOf(*m) : 0;
}

int ListPositionToMethodType(int index) {
  if (index < 1) return 1;
  for (const MethodRow& m : g_rows)
    if (m.ListPosition >= 0 && ListPositionOf(m) == index) return m.Type;
  return 1;
}

std::vector<std::string_view> MethodListLabels() {
  std::vector<std::string_view> labels(static_cast<size_t>(MethodListCount()));
  for (const MethodRow& m : g_rows)
    if (m.ListPosition >= 0) labels[static_cast<size_t>(ListPositionOf(m))] = Tr(m.Label);
  return labels;
}

std::unique_ptr<ConversionMethod> CreateMethodByType(int type, const ComposerParams& params) {
  const MethodRow* m = MethodRowByType(type);
  std::unique_ptr<ConversionMethod> method = m && m->Create ? m->Create(params) : nullptr;
  if (method) method->SetTakesOblongCut(m->TakesOblongCut);
  return method;
}

std::string DefaultRandomSet() {
  std::string random(static_cast<size_t>(MethodCodeCount()), '0');
  for (const MethodRow& row : MethodRows())
    if (row.Code >= 0 && row.RandomByDefault) random[static_cast<size_t>(row.Code)] = '1';
  return random;
}

}  // namespace tessivane
