// The per-frame brightness effect on the piece. The object keeps its
// bitmaps between frames, so a frame allocates nothing once the piece size
// is stable.
#pragma once
#include "base/Bitmap.h"
#include "images/RgbColour.h"

namespace tessivane {

class ImageEffect {
public:
  // Result and Input both become copies of Bitmap.
  void SetImage(const Bitmap& piece);
  // Builds Result from Input, lighter (Amount > 0, towards white) or darker
  // (Amount < 0, towards black) with the colour differences unchanged.
  // Amount 0 copies Input. An amount outside -1..1 (or NaN) throws
  // SilentAbort and changes nothing.
  void ChangeBrightness(double amount);
  // The picture after the effect; still owned by the effect.
  const Bitmap& GetResult() const { return Result; }

private:
  Bitmap Result;
  Bitmap Input;
  RgbColour Rgb;
};

}  // namespace tessivane
