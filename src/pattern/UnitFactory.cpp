#include "pattern/UnitFactory.h"

#include "pattern/UmuNone.h"
#include "pattern/UmuRotateCompress.h"
#include "pattern/UmuSankaku.h"
#include "pattern/UmuSankaku2.h"
#include "pattern/UmuSharp.h"
#include "pattern/UmuShikaku.h"
#include "pattern/UmuSpin.h"
#include "pattern/UmuTShikaku.h"
#include "pattern/UmuThShikaku.h"

namespace tessivane {

namespace {

using Constructor = std::unique_ptr<TMakeUnit> (*)(const TMakeImageParam&);

// A method class that needs nothing from the parameters.
template <class Unit>
std::unique_ptr<TMakeUnit> Plain(const TMakeImageParam&) {
  return std::make_unique<Unit>();
}

std::unique_ptr<TMakeUnit> RotateCompress(const TMakeImageParam& param) {
  auto unit = std::make_unique<TRotateCompress>();
  unit->Rotate = param.Rotate;
  return unit;
}

// Type number -> constructor; null where no class exists. Add a method
// here (and in the numbering table of UMakeUnit.cpp) to make it reachable.
struct Entry {
  int type;
  Constructor create;
};

constexpr Entry kUnits[] = {
    {1, Plain<TSankaku>},
    {2, Plain<TSankaku2>},
    {3, Plain<TTShikaku>},
    {4, Plain<ThTShikaku>},
    {5, Plain<TShikaku>},
    {6, Plain<TNone>},
    {7, Plain<TSharp>},
    {9, nullptr},   // TDll: DllFileName from the parameters
    {10, RotateCompress},
    {11, Plain<TSpin>},
};

}  // namespace

std::unique_ptr<TMakeUnit> CreateUnitByType(int type, const TMakeImageParam& param) {
  for (const Entry& e : kUnits)
    if (e.type == type) return e.create ? e.create(param) : nullptr;
  return nullptr;
}

}  // namespace tessivane
