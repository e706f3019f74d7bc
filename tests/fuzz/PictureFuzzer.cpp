// libFuzzer target for picture loading: any bytes must give a picture or a
// PictureError. Anything else (another exception, a crash, a leak, a
// sanitizer report, a hang) is a finding. The fuzz build scales the size
// limits down, so small inputs reach the paths that refuse large pictures.
#include <cstddef>
#include <cstdint>

#include "codecs/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tessivane::DecodePicture(data, size);
  } catch (const tessivane::PictureError&) {
  }
  return 0;
}
