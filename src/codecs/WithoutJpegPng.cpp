// Stand-ins for a build without libjpeg-turbo and libpng.
#include "codecs/Decoders.h"

namespace tessivane {

Bitmap DecodeJpeg(const uint8_t*, size_t, const PictureLimits&) {
  throw PictureError("JPEG: this build cannot read JPEG pictures");
}

Bitmap DecodePng(const uint8_t*, size_t, const PictureLimits&) {
  throw PictureError("PNG: this build cannot read PNG pictures");
}

}  // namespace tessivane
