#include "images/RgbColour.h"

#include <cmath>

#include "base/Numeric.h"

namespace tessivane {

namespace {
// Round(v * 255) as a channel value. The argument is limited to a range
// that rounds safely into an integer (NaN counts as 0); the clamping
// setter cuts it to 0..255 anyway, so valid inputs give the same result.
int32_t Channel(Extended v) {
  Extended scaled = v * 255;
  if (!(scaled > -1)) return -1;
  if (scaled > 256) return 256;
  return static_cast<int32_t>(Round(scaled));
}
}  // namespace

double RgbColour::GetY() const {
  return static_cast<double>(R * 0.299L / 255 + G * 0.587L / 255 + B * 0.114L / 255);
}

double RgbColour::GetCb() const {
  return static_cast<double>((R / 255.0L) * (-0.169L) - (G / 255.0L) * 0.332L + (B / 255.0L) * 0.5L);
}

double RgbColour::GetCr() const {
  return static_cast<double>((R / 255.0L) * 0.5L - (G / 255.0L) * 0.419L - (B / 255.0L) * 0.081L);
}

void RgbColour::GetYCrCb(double& y, double& cr, double& cb) const {
  y = GetY();
  cr = GetCr();
  cb = GetCb();
}

void RgbColour::SetYCrCb(double y, double cr, double cb) {
  SetR(Channel(y + cr * 1.4026L));
  SetG(Channel(y - cr * 0.7144L - cb * 0.3444L));
  SetB(Channel(y + cb * 1.773L));
}

}  // namespace tessivane
