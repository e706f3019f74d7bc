// libFuzzer target for picture loading: any bytes must give a picture or a
// PictureError. Anything else (another exception, a crash, a leak, a
// sanitizer report, a hang) is a finding.
#include <cstddef>
#include <cstdint>

#include "codecs/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A smaller pixel cap than the saver's keeps every run fast; the checks
  // on the way are the same.
  tessivane::PictureLimits limits;
  limits.maxPixels = uint64_t{1} << 22;
  try {
    tessivane::DecodePicture(data, size, limits);
  } catch (const tessivane::PictureError&) {
  }
  return 0;
}
