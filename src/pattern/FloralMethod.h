// The floral pattern: a sixteen-wedge mirror star, one 22.5-degree wedge of
// the cut reflected about lines 22.5 degrees apart.
#pragma once
#include "pattern/ConversionMethod.h"

namespace tessivane {

// Quarter side M = Round(sqrt 2 * W / 2); tile (2M - 2) x (2M - 2). The
// star's centre is the quarter's origin, tile column 0, row M - 1.
class FloralMethod : public ConversionMethod {
protected:
  UnitFailure BuildMap() override;
};

}  // namespace tessivane
