// Builds the motion path of a kind number and converts the kind to and from
// its stored number. Kinds: 0 straight line, 1 curve, 2 slide show.
#pragma once
#include <cstdint>
#include <memory>

#include "motion/UMovePosition.h"

namespace tessivane {

// Motion kinds.
inline constexpr uint8_t kMoveLine = 0;
inline constexpr uint8_t kMoveCurve = 1;
inline constexpr uint8_t kMoveSlideShow = 2;

class TMovePositionMaker {
public:
  // The path of that kind, with the other arguments passed on unchanged.
  // Any other kind throws std::out_of_range
  // "No Exist MovePosition: GetMovePosition[<kind>]".
  static std::unique_ptr<TMovePosition> GetMovePosition(uint8_t Kind, int32_t X, int32_t Y, int32_t Speed,
                                                        const Point& Range);
  // 0, 1 and 2 stay; every other number gives 0.
  static uint8_t CodeToMoveType(int32_t Code);
  static int32_t MoveTypeToCode(uint8_t Kind);
};

// Shorthand for TMovePositionMaker::GetMovePosition.
inline std::unique_ptr<TMovePosition> GetMovePosition(uint8_t Kind, int32_t X, int32_t Y, int32_t Speed,
                                                      const Point& Range) {
  return TMovePositionMaker::GetMovePosition(Kind, X, Y, Speed, Range);
}

}  // namespace tessivane
