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
  // `rotate` is the angular compression factor n (2..20 from the options,
  // 3 by default). Not checked: the source coordinates are clamped into the
  // cut whatever its value.
  explicit DistortedSquareMethod(int32_t rotate = 3) : rotate_(rotate) {}
  int32_t Rotate() const { return rotate_; }

protected:
  UnitFailure BuildMap() override;

private:
  int32_t rotate_;
};

}  // namespace tessivane
