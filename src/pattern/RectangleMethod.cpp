#include "pattern/RectangleMethod.h"

namespace tessivane {

UnitFailure RectangleMethod::BuildMap() {
  BuildWholeCutMap(Cut().x, Cut().y);
  Answer(Cut(), kSymmetryRightDown);
  return {};
}

}  // namespace tessivane
