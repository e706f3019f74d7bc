#include <memory>

#include "codecs/CodecGlue.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

// Whether an end-of-image marker follows the first scan. Entropy-coded data
// never holds 0xFF 0xD9 (a 0xFF data byte is followed by 0x00), so a file
// without one is cut short, and is refused before the pixels are allocated.
bool HasEndAfterFirstScan(const uint8_t* data, size_t size) {
  size_t at = 2;  // past the start-of-image marker
  while (at + 1 < size) {
    if (data[at] != 0xFF) {  // stray bytes between segments: libjpeg skips them
      ++at;
      continue;
    }
    const uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD9) return true;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xDA) {
      for (size_t i = at + 2; i + 1 < size; ++i)
        if (data[i] == 0xFF && data[i + 1] == 0xD9) return true;
      return false;
    }
    if (at + 3 >= size) return false;
    at += 2 + ((size_t{data[at + 2]} << 8) | data[at + 3]);
  }
  return false;
}

}  // namespace

Bitmap DecodeJpeg(const uint8_t* data, size_t size, const PictureLimits& limits) {
  std::unique_ptr<TessivaneJpeg, void (*)(TessivaneJpeg*)> jpeg(tessivane_jpeg_open(), &tessivane_jpeg_close);
  if (!jpeg) throw std::bad_alloc();
  auto fail = [&]() { throw PictureError(std::string("JPEG: ") + tessivane_jpeg_message(jpeg.get())); };
  uint32_t width = 0, height = 0;
  if (tessivane_jpeg_read_header(jpeg.get(), data, size, kMaxJpegMemory, kMaxJpegScans, &width, &height) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  if (!HasEndAfterFirstScan(data, size)) throw PictureError("JPEG: data ended early");
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  if (tessivane_jpeg_read_pixels(jpeg.get(), bitmap.Data(), bitmap.Stride()) != 0) fail();
  return bitmap;
}

}  // namespace tessivane
