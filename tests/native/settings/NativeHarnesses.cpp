#include "StoreHarness.h"

namespace tessivane::testing {

std::vector<HarnessKind> HarnessKinds() { return {{"Memory", MakeMemoryHarness}}; }

}  // namespace tessivane::testing
