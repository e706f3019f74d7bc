#include "motion/UMovePositionMaker.h"

#include <stdexcept>

#include "base/Errors.h"
#include "motion/UMovePositionCurve.h"
#include "motion/UMovePositionLiner.h"
#include "motion/UMovePositionRandom.h"

namespace tessivane {

std::unique_ptr<TMovePosition> TMovePositionMaker::GetMovePosition(uint8_t Kind, int32_t X, int32_t Y,
                                                                   int32_t Speed, const Point& Range) {
  switch (Kind) {
    case kMoveLine:
      return std::make_unique<TMovePositionLiner>(X, Y, Speed, Range);
    case kMoveCurve:
      return std::make_unique<TMovePositionCurve>(X, Y, Speed, Range);
    case kMoveSlideShow:
      return std::make_unique<TMovePositionRandom>(X, Y, Speed, Range);
  }
  throw std::out_of_range(Format("No Exist MovePosition: GetMovePosition[%d]", Kind));
}

uint8_t TMovePositionMaker::CodeToMoveType(int32_t Code) {
  return Code >= 0 && Code <= 2 ? static_cast<uint8_t>(Code) : 0;
}

int32_t TMovePositionMaker::MoveTypeToCode(uint8_t Kind) { return Kind <= 2 ? Kind : 0; }

}  // namespace tessivane
