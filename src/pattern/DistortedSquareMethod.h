// The distorted square: the disc in the middle of the cut, squeezed in the
// angular direction by an integer factor n, so that it repeats n times
// around the centre.
#pragma once
#include <cstdint>

#include "pattern/ConversionMethod.h"

namespace tessivane {

// Quarter side M = Trunc(min(W, H) / sqrt 2); tile (2M - 2) x (2M - 2).
class DistortedSquareMethod : public ConversionMethod {
public:
  void BuildMap() override;
  void MakeTile() override;

  // The angular compression factor n (2..20 from the options, 3 by
  // default). Not checked: the source coordinates are clamped into the cut
  // whatever its value.
  int32_t Rotate = 3;
};

}  // namespace tessivane
