#include "pattern/NoConversionMethod.h"

namespace tessivane {

UnitFailure NoConversionMethod::BuildMap() {
  BuildWholeCutMap(Cut().x, Cut().y);
  Answer(Cut(), kSymmetryNone);
  return {};
}

}  // namespace tessivane
