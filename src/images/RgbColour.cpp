#include "images/RgbColour.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "base/Numeric.h"

namespace tessivane {

namespace {

static_assert(std::numeric_limits<Extended>::digits == 64 && sizeof(Extended) >= 10,
              "Extended is the x87 80-bit format");

// Round(v) for -2^62 < v < 2^62, without the two switches of the x87
// rounding mode that converting Round's result to an integer costs: adding
// 1.5 x 2^63 leaves a sum whose significand (the low eight bytes of the
// 80-bit format) counts whole units, so the addition itself rounds v to
// the nearest integer, halves to even, as Round does; the significand
// minus 1.5 x 2^63 is that integer.
int32_t RoundSmall(Extended v) {
  const Extended shifted = v + 0x1.8p63L;
  uint64_t significand = 0;
  std::memcpy(&significand, &shifted, sizeof significand);
  return static_cast<int32_t>(static_cast<int64_t>(significand - 0xC000000000000000ull));
}

// Round(v * 255) as a channel value. The argument is limited to a range
// that rounds safely into an integer (NaN counts as 0); the clamping
// setter cuts it to 0..255 anyway, so valid inputs give the same result.
int32_t Channel(Extended v) {
  Extended scaled = v * 255;
  if (!(scaled > -1)) return -1;
  if (scaled > 256) return 256;
  return RoundSmall(scaled);
}
}  // namespace

// Each term of the three sums, per channel value, in extended precision:
// looking a term up gives the very value that computing it gives, so the
// sums (added in the same order) are the same to the last bit, without
// the nine divisions per pixel that the brightness step would otherwise
// pay. Built once, on first use.
struct RgbColour::Terms {
  Extended yR[256], yG[256], yB[256];
  Extended cbR[256], cbG[256], cbB[256];
  Extended crR[256], crG[256], crB[256];

  Terms() {
    for (int32_t v = 0; v < 256; ++v) {
      yR[v] = v * 0.299L / 255;
      yG[v] = v * 0.587L / 255;
      yB[v] = v * 0.114L / 255;
      cbR[v] = (v / 255.0L) * (-0.169L);
      cbG[v] = (v / 255.0L) * 0.332L;
      cbB[v] = (v / 255.0L) * 0.5L;
      crR[v] = (v / 255.0L) * 0.5L;
      crG[v] = (v / 255.0L) * 0.419L;
      crB[v] = (v / 255.0L) * 0.081L;
    }
  }
};

const RgbColour::Terms& RgbColour::TermTable() {
  static const Terms terms;
  return terms;
}

// The three sums below are, term for term:
//   Y  = R * 0.299 / 255 + G * 0.587 / 255 + B * 0.114 / 255
//   Cb = (R / 255) * -0.169 - (G / 255) * 0.332 + (B / 255) * 0.5
//   Cr = (R / 255) * 0.5 - (G / 255) * 0.419 - (B / 255) * 0.081
double RgbColour::GetY() const {
  const Terms& t = TermTable();
  return static_cast<double>(t.yR[R] + t.yG[G] + t.yB[B]);
}

double RgbColour::GetCb() const {
  const Terms& t = TermTable();
  return static_cast<double>(t.cbR[R] - t.cbG[G] + t.cbB[B]);
}

double RgbColour::GetCr() const {
  const Terms& t = TermTable();
  return static_cast<double>(t.crR[R] - t.crG[G] - t.crB[B]);
}

void RgbColour::GetYCrCb(double& y, double& cr, double& cb) const {
  const Terms& t = TermTable();
  y = static_cast<double>(t.yR[R] + t.yG[G] + t.yB[B]);
  cr = static_cast<double>(t.crR[R] - t.crG[G] - t.crB[B]);
  cb = static_cast<double>(t.cbR[R] - t.cbG[G] + t.cbB[B]);
}

void RgbColour::SetYCrCb(double y, double cr, double cb) {
  SetR(Channel(y + cr * 1.4026L));
  SetG(Channel(y - cr * 0.7144L - cb * 0.3444L));
  SetB(Channel(y + cb * 1.773L));
}

}  // namespace tessivane
