#include <algorithm>
#include <memory>

#include "codecs/CodecGlue.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

// The bytes from the first scan to the end-of-image marker (the picture's
// compressed data), or 0 when there is no such marker. Entropy-coded data
// never holds 0xFF 0xD9 (a 0xFF data byte is followed by 0x00), so a file
// without one is cut short, and is refused before the pixels are allocated.
uint64_t CompressedBytes(BufferedPictureReader& data) {
  uint64_t at = 2;  // past the start-of-image marker
  while (data.At(at + 1) >= 0) {
    if (data.At(at) != 0xFF) {  // stray bytes between segments: libjpeg skips them
      ++at;
      continue;
    }
    const int marker = data.At(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD9) return 0;  // the end before any scan
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xDA) {
      for (uint64_t i = at + 2; data.At(i + 1) >= 0; ++i)
        if (data.At(i) == 0xFF && data.At(i + 1) == 0xD9) return i - at;
      return 0;
    }
    if (data.At(at + 3) < 0) return 0;
    at += 2 + ((static_cast<uint64_t>(data.At(at + 2)) << 8) | static_cast<uint64_t>(data.At(at + 3)));
  }
  return 0;
}

// Memory a picture's whole-image coefficient buffers may take. A
// progressive picture (or one whose components come in separate scans)
// keeps 64 two-byte coefficients per 8 x 8 block of every component until
// the last scan: 2 bytes per pixel for grey, 3 for colour with halved
// chroma (4:2:0), 6 for full-resolution colour, 8 for CMYK. The budget is
// the largest of three allowances:
// - kJpegBudgetFloor, so small pictures with their padding to whole
//   blocks always pass;
// - as much as the decoded bitmap (3 bytes per pixel), which every grey and
//   4:2:0 picture fits whatever its compression;
// - 256 bytes per byte of compressed data: full-resolution colour passes
//   from 0.19 bits of data per pixel and CMYK from 0.25, while photos
//   carry 0.5 to 4. What exceeds all three is a small stream claiming a
//   huge picture, whose many scans would each sweep buffers of hundreds of
//   megabytes for a picture of nothing.
// Never more than kMaxJpegMemory, libjpeg's own cap, so that a picture
// it would refuse halfway is refused before the bitmap is allocated.
constexpr uint64_t kJpegBudgetFloor = uint64_t{4} << 20;
constexpr uint64_t kCoefficientBytesPerCompressedByte = 256;

uint64_t CoefficientBudget(uint64_t pixels, uint64_t compressedBytes) {
  const uint64_t budget =
      std::max({kJpegBudgetFloor, 3 * pixels, kCoefficientBytesPerCompressedByte * compressedBytes});
  return std::min(budget, kMaxJpegMemory);
}

// libjpeg reads through this: never throws across the C library.
size_t ReadForLibjpeg(void* context, uint8_t* out, size_t count) {
  try {
    return static_cast<BufferedPictureReader*>(context)->ReadNext(out, count);
  } catch (...) {
    return static_cast<size_t>(-1);
  }
}

}  // namespace

Bitmap DecodeJpeg(PictureSource& source, const PictureLimits& limits) {
  BufferedPictureReader data(source);
  std::unique_ptr<TessivaneJpeg, void (*)(TessivaneJpeg*)> jpeg(tessivane_jpeg_open(), &tessivane_jpeg_close);
  if (!jpeg) throw std::bad_alloc();
  auto fail = [&]() { throw PictureError(std::string("JPEG: ") + tessivane_jpeg_message(jpeg.get())); };
  uint32_t width = 0, height = 0;
  if (tessivane_jpeg_read_header(jpeg.get(), &ReadForLibjpeg, &data, kMaxJpegMemory, kMaxJpegScans, &width,
                                 &height) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  const uint64_t compressed = CompressedBytes(data);
  if (compressed == 0) throw PictureError("JPEG: data ended early");
  const uint64_t pixels = uint64_t{width} * height;
  if (tessivane_jpeg_coefficient_bytes(jpeg.get()) > CoefficientBudget(pixels, compressed))
    throw PictureError("JPEG: picture is too large for its data");
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  if (tessivane_jpeg_read_pixels(jpeg.get(), bitmap.Data(), bitmap.Stride()) != 0) fail();
  return bitmap;
}

}  // namespace tessivane
