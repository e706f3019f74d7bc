// Rounding and integer helpers shared by the geometry and colour code.
// "Extended precision" throughout the core is long double (x87 80-bit on
// x86 Linux and on both mingw targets).
#pragma once
#include <cmath>
#include <cstdint>

namespace tessivane {

using Extended = long double;

// Nearest integer, exact halves to the even neighbour (the default
// floating-point rounding mode). rint rounds exactly like nearbyint; it may
// also raise the (masked) inexact flag, which spares nearbyint's save and
// restore of the floating-point environment: a hundred times faster on
// long double, and the colour effects round three times per pixel.
inline int64_t Round(Extended v) { return static_cast<int64_t>(std::rint(v)); }
// A value rounded to a 64-bit double, where a formula stores one. The
// volatile store makes the rounding happen even where the compiler would
// keep the value in an 80-bit x87 register (the 32-bit x86 builds).
inline double StoreDouble(Extended v) {
  volatile double stored = static_cast<double>(v);
  return stored;
}
// Toward zero.
inline int64_t Trunc(Extended v) { return static_cast<int64_t>(std::trunc(v)); }

// C++ integer / and % already truncate toward zero; these names make the
// intent plain where a formula is transcribed.
inline int32_t Div(int32_t a, int32_t b) { return a / b; }
inline int32_t Mod(int32_t a, int32_t b) { return a % b; }

}  // namespace tessivane
