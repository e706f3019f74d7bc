#include <memory>

#include "codecs/CodecGlue.h"
#include "codecs/Decoders.h"

namespace tessivane {

Bitmap DecodeJpeg(const uint8_t* data, size_t size, const PictureLimits& limits) {
  std::unique_ptr<TessivaneJpeg, void (*)(TessivaneJpeg*)> jpeg(tessivane_jpeg_open(), &tessivane_jpeg_close);
  if (!jpeg) throw std::bad_alloc();
  auto fail = [&]() { throw PictureError(std::string("JPEG: ") + tessivane_jpeg_message(jpeg.get())); };
  uint32_t width = 0, height = 0;
  if (tessivane_jpeg_read_header(jpeg.get(), data, size, kMaxJpegMemory, kMaxJpegScans, &width, &height) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  if (tessivane_jpeg_read_pixels(jpeg.get(), bitmap.Data(), bitmap.Stride()) != 0) fail();
  return bitmap;
}

}  // namespace tessivane
