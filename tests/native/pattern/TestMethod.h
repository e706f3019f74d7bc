// A minimal unit transform for tests: identity map over the cut (shuffled
// when asked), tile = the cut turned back upright through the map.
#pragma once
#include <memory>

#include "pattern/ConversionMethod.h"

namespace tessivane::testing {

class TestMethod : public ConversionMethod {
public:
  explicit TestMethod(bool relaxed = false) { SetTakesOblongCut(relaxed); }

  int buildCount = 0;
  using ConversionMethod::Pixel;
  using ConversionMethod::PointMap;

protected:
  UnitFailure BuildMap() override {
    ++buildCount;
    BuildWholeCutMap(Cut().x, Cut().y);
    Answer(Cut(), kSymmetryNone);
    return {};
  }
};

}  // namespace tessivane::testing
