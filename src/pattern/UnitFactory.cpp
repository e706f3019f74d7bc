#include "pattern/UnitFactory.h"

namespace tessivane {

namespace {

using Constructor = std::unique_ptr<TMakeUnit> (*)(const TMakeImageParam&);

// A method class that needs nothing from the parameters.
template <class Unit>
std::unique_ptr<TMakeUnit> Plain(const TMakeImageParam&) {
  return std::make_unique<Unit>();
}

// Type number -> constructor; null where no class exists. Add a method
// here (and in the numbering table of UMakeUnit.cpp) to make it reachable.
struct Entry {
  int type;
  Constructor create;
};

constexpr Entry kUnits[] = {
    {1, nullptr},   // TSankaku
    {2, nullptr},   // TSankaku2
    {3, nullptr},   // TTShikaku
    {4, nullptr},   // ThTShikaku
    {5, nullptr},   // TShikaku
    {6, nullptr},   // TNone
    {7, nullptr},   // TSharp
    {9, nullptr},   // TDll: DllFileName from the parameters
    {10, nullptr},  // TRotateCompress: Rotate from the parameters
    {11, nullptr},  // TSpin
};

}  // namespace

std::unique_ptr<TMakeUnit> CreateUnitByType(int type, const TMakeImageParam& param) {
  for (const Entry& e : kUnits)
    if (e.type == type) return e.create ? e.create(param) : nullptr;
  return nullptr;
}

}  // namespace tessivane
