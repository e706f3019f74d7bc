// Builds the motion path of a kind number and converts the kind to and from
// its stored number. Kinds: 0 straight line, 1 curve, 2 slide show.
#pragma once
#include <cstdint>
#include <memory>

#include "motion/MotionPath.h"

namespace tessivane {

// Motion kinds.
inline constexpr uint8_t kMoveLine = 0;
inline constexpr uint8_t kMoveCurve = 1;
inline constexpr uint8_t kMoveSlideShow = 2;

// The path of that kind, starting at (x, y), with the speed (the Move
// setting), the range and the generator it draws from passed on unchanged. Any other kind throws
// std::out_of_range "No Exist MovePosition: GetMovePosition[<kind>]".
std::unique_ptr<MotionPath> MakeMotionPath(uint8_t kind, int32_t x, int32_t y, int32_t speed,
                                           const Point& range, RandomGenerator& random);
// Stored "MovePositionType" -> kind: 0, 1 and 2 stay; every other number gives 0.
uint8_t CodeToMotionKind(int32_t code);
// Kind -> stored number; every kind above 2 gives 0.
int32_t MotionKindToCode(uint8_t kind);

}  // namespace tessivane
