// What a piece may be: the cut side a Size setting gives and the aspect
// steps that shape an oblong piece. The composer, the run's description and
// the records that store the settings share these.
#pragma once
#include <cstdint>

namespace tessivane {

// The side of the square cut that a Size setting gives: 4 x Size pixels,
// in 64 bits, since a stored Size may be any integer.
constexpr int64_t CutSideOf(int32_t size) { return int64_t{size} * 4; }

// The aspect steps of an oblong piece run from -kMaxPieceAspect to
// kMaxPieceAspect.
inline constexpr int kMaxPieceAspect = 5;

}  // namespace tessivane
