#include "motion/MotionPaths.h"

#include <stdexcept>

#include "base/Errors.h"
#include "motion/SinePath.h"
#include "motion/StraightPath.h"
#include "motion/SlideShowPath.h"

namespace tessivane {

std::unique_ptr<MotionPath> MakeMotionPath(uint8_t kind, int32_t x, int32_t y, int32_t speed,
                                           const Point& range, RandomGenerator& random) {
  switch (kind) {
    case kMoveLine:
      return std::make_unique<StraightPath>(x, y, speed, range, random);
    case kMoveCurve:
      return std::make_unique<SinePath>(x, y, speed, range, random);
    case kMoveSlideShow:
      return std::make_unique<SlideShowPath>(x, y, speed, range, random);
  }
  throw std::out_of_range(Format("No Exist MovePosition: GetMovePosition[%d]", kind));
}

uint8_t CodeToMotionKind(int32_t code) { return code >= 0 && code <= 2 ? static_cast<uint8_t>(code) : 0; }

int32_t MotionKindToCode(uint8_t kind) { return kind <= 2 ? kind : 0; }

}  // namespace tessivane
