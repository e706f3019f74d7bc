// Converts between 8-bit red, green, blue and luma / colour difference
// (Y, Cb, Cr) with fixed coefficients.
#pragma once
#include <cstdint>

namespace tessivane {

class TRgb {
public:
  // Each setter clamps to 0..255.
  void SetR(int32_t Value) { R = Clamp(Value); }
  void SetG(int32_t Value) { G = Clamp(Value); }
  void SetB(int32_t Value) { B = Clamp(Value); }
  int32_t GetR() const { return R; }
  int32_t GetG() const { return G; }
  int32_t GetB() const { return B; }

  double GetY() const;   // 0..1
  double GetCb() const;  // about -0.5..0.5
  double GetCr() const;  // about -0.5..0.5
  void GetYCrCb(double& Y, double& Cr, double& Cb) const;
  // Sets R, G and B (in that order, each clamped) from the three components.
  void SetYCrCb(double Y, double Cr, double Cb);

private:
  static int32_t Clamp(int32_t v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

  int32_t R = 0;
  int32_t G = 0;
  int32_t B = 0;
};

}  // namespace tessivane
