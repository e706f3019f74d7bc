#include "images/ImageEffect.h"

#include <cmath>

#include "base/Errors.h"
#include "base/Numeric.h"

namespace tessivane {

namespace {
void CopyInto(Bitmap& dst, const Bitmap& src) {
  dst.SetSize(src.Width(), src.Height());
  CopyRect(dst, 0, 0, src, 0, 0, src.Width(), src.Height());
}
}  // namespace

void ImageEffect::SetImage(const Bitmap& piece) {
  CopyInto(Result, piece);
  CopyInto(Input, piece);
}

void ImageEffect::ChangeBrightness(double amount) {
  if (!(amount >= -1 && amount <= 1)) throw SilentAbort();
  if (amount == 0) {
    CopyInto(Result, Input);
    return;
  }
  Result.SetSize(Input.Width(), Input.Height());
  for (int row = 0; row < Input.Height(); ++row) {
    const uint8_t* in = Input.Row(row);
    uint8_t* out = Result.Row(row);
    for (int col = 0; col < Input.Width(); ++col, in += 3, out += 3) {
      Rgb.SetB(in[0]);
      Rgb.SetG(in[1]);
      Rgb.SetR(in[2]);
      double y, cr, cb;
      Rgb.GetYCrCb(y, cr, cb);
      if (amount > 0)
        y = static_cast<double>(y + amount * (1 - Extended{y}));
      else
        y = static_cast<double>((1 - Extended{std::fabs(amount)}) * y);
      Rgb.SetYCrCb(y, cr, cb);
      out[0] = static_cast<uint8_t>(Rgb.GetB());
      out[1] = static_cast<uint8_t>(Rgb.GetG());
      out[2] = static_cast<uint8_t>(Rgb.GetR());
    }
  }
}

}  // namespace tessivane
