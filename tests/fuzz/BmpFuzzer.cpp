// libFuzzer target for the BMP decoder alone, with inputs up to 64 KB
// (scripts/test and scripts/fuzz pass -max_len=65536 and bmp.dict): any
// bytes must give a picture or a PictureError.
#include <cstddef>
#include <cstdint>

#include "codecs/Decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tessivane::MemoryPictureSource source(data, size);
    tessivane::DecodeBmp(source, tessivane::PictureLimits{});
  } catch (const tessivane::PictureError&) {
  }
  return 0;
}
