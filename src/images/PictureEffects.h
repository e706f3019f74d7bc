// Whole-picture effects applied once when a source picture is loaded.
#pragma once
#include "base/Bitmap.h"

namespace tessivane {

// 3 x 3 smoothing, weights 1 1 1 / 1 2 1 / 1 1 1, integer quotient by 10;
// border pixels repeat themselves.
void BlurBitmap(Bitmap& picture);
// Every pixel becomes the grey of its luma.
void MonotoneBitmap(Bitmap& picture);

}  // namespace tessivane
