// Converts between 8-bit red, green, blue and luma / colour difference
// (Y, Cb, Cr) with fixed coefficients.
#pragma once
#include <algorithm>
#include <cstdint>

namespace tessivane {

class RgbColour {
public:
  // Each setter clamps to 0..255.
  void SetR(int32_t value) { R = Clamp(value); }
  void SetG(int32_t value) { G = Clamp(value); }
  void SetB(int32_t value) { B = Clamp(value); }
  int32_t GetR() const { return R; }
  int32_t GetG() const { return G; }
  int32_t GetB() const { return B; }

  double GetY() const;   // 0..1
  double GetCb() const;  // about -0.5..0.5
  double GetCr() const;  // about -0.5..0.5
  void GetYCrCb(double& y, double& cr, double& cb) const;
  // Sets R, G and B (in that order, each clamped) from the three components.
  void SetYCrCb(double y, double cr, double cb);

private:
  struct Terms;
  static const Terms& TermTable();
  static int32_t Clamp(int32_t v) { return std::clamp(v, 0, 255); }

  int32_t R = 0;
  int32_t G = 0;
  int32_t B = 0;
};

}  // namespace tessivane
