// Creating the unit transform of a conversion-method type number.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "pattern/UMakeUnit.h"

namespace tessivane {

// What the composer passes on to the unit transforms and the motion path.
struct TMakeImageParam {
  std::string DllFileName;        // plug-in library path, for TDll
  int32_t Rotate = 0;             // conversion value, for TRotateCompress
  uint8_t MovePositionType = 0;   // motion kind: 0 line, 1 curve, 2 slide show
};

// Makes the unit of one type number, or returns null.
using UnitFactory = std::unique_ptr<TMakeUnit> (*)(int type, const TMakeImageParam& param);

// The unit of a type number: 1..7 and 9..11 have a class; every other
// number (8, "choose at random", included) gives null.
std::unique_ptr<TMakeUnit> CreateUnitByType(int type, const TMakeImageParam& param);

}  // namespace tessivane
