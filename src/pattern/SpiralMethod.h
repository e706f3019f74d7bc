// The spiral: the disc in the middle of the cut, each ring turned by an
// angle that grows with its distance from the centre (6 degrees a pixel).
#pragma once
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Quarter side M = Round(sqrt 2 * W / 2); tile (2M - 2) x (2M - 2).
class SpiralMethod : public ConversionMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
