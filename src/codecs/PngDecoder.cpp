#include <cstring>
#include <memory>
#include <vector>

#include "codecs/CodecGlue.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

// One row of 8-bit red, green, blue, alpha into blue, green, red over white.
void RgbaToBgr(const uint8_t* rgba, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x, rgba += 4, bgr += 3) {
    uint32_t a = rgba[3];
    bgr[0] = OverWhite(rgba[2], a);
    bgr[1] = OverWhite(rgba[1], a);
    bgr[2] = OverWhite(rgba[0], a);
  }
}

// Most bytes deflate can restore from one compressed byte.
constexpr uint64_t kMaxDeflateRatio = 1032;

uint32_t Be32(const uint8_t* p) { return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Refuses, from the first bytes, a header whose sides exceed the side
// limit, with the same text as the other formats (libpng's own limit
// would only say the header is invalid).
void CheckHeaderSides(PictureSource& source) {
  const std::vector<uint8_t> head = ReadHead(source, 24);
  if (head.size() < 24 || std::memcmp(head.data() + 12, "IHDR", 4) != 0) return;  // libpng tells
  if (Be32(head.data() + 16) > kMaxPictureSide || Be32(head.data() + 20) > kMaxPictureSide)
    throw PictureError(PictureFailure::kTooLarge, "picture is too large");
}

// Walks the chunk headers up to IEND before libpng reads anything: a file
// cut short is refused, and so is a chunk other than pixel data larger
// than libpng may allocate (libpng would allocate a chunk's declared
// length before reading it). Returns the bytes of compressed pixel data.
uint64_t WalkChunks(BufferedPictureReader& data) {
  const uint64_t size = data.Size();
  uint64_t compressed = 0, at = 8;
  uint8_t header[8];
  while (at + 8 <= size && data.Copy(at, header, 8)) {
    const uint64_t length = Be32(header);
    if (length > size - at - 8 || size - at - 8 - length < 4) break;
    const bool pixels = std::memcmp(header + 4, "IDAT", 4) == 0;
    if (pixels)
      compressed += length;
    else if (length > kMaxPngChunkBytes)
      throw PictureError(PictureFailure::kDamaged, "PNG: chunk data is too large");
    if (std::memcmp(header + 4, "IEND", 4) == 0) return compressed;
    at += 12 + length;
  }
  throw PictureError(PictureFailure::kDamaged, "PNG: data ended early");
}

// Refuses a picture whose compressed pixel data could not hold the pixels
// its header declares even at deflate's best ratio, before the bitmap is
// allocated.
void CheckPixelData(PictureSource& source, uint64_t width, uint64_t height, uint64_t compressed) {
  // Bits per pixel from the header (libpng has checked it): channels x depth.
  const std::vector<uint8_t> head = ReadHead(source, 26);
  static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  const uint64_t bits = uint64_t{head[24]} * (head[25] < 7 ? kChannels[head[25]] : 1);
  if ((width * height * bits + 7) / 8 > compressed * kMaxDeflateRatio)
    throw PictureError(PictureFailure::kDamaged, "PNG: pixel data is too short for the picture's size");
}

}  // namespace

Bitmap DecodePng(PictureSource& source, const PictureLimits& limits) {
  CheckHeaderSides(source);
  BufferedPictureReader data(source);
  const uint64_t compressed = WalkChunks(data);
  std::unique_ptr<TessivanePng, void (*)(TessivanePng*)> png(tessivane_png_open(), &tessivane_png_close);
  if (!png) throw std::bad_alloc();
  auto fail = [&]() { ThrowLibraryFailure("PNG: ", *tessivane_png_failure(png.get())); };
  uint32_t width = 0, height = 0;
  int passes = 0;
  if (tessivane_png_read_header(png.get(), &BufferedPictureReader::ReadForLibrary, &data, kMaxPictureSide,
                                kMaxPngChunkBytes, &width, &height, &passes) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  CheckPixelData(source, width, height, compressed);
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  Bitmap bitmap(w, h);
  const size_t rowBytes = size_t{width} * 4;
  if (passes <= 1) {
    std::vector<uint8_t> row(rowBytes);
    uint8_t* rows[1] = {row.data()};
    for (int y = 0; y < h; ++y) {
      if (tessivane_png_read_rows(png.get(), rows, 1) != 0) fail();
      RgbaToBgr(row.data(), bitmap.Row(y), w);
    }
  } else {
    // Interlaced: every pass adds pixels to every row, so all rows stay.
    std::vector<uint8_t> pixels(rowBytes * height);
    std::vector<uint8_t*> rows(height);
    for (int y = 0; y < h; ++y) rows[y] = pixels.data() + rowBytes * y;
    for (int pass = 0; pass < passes; ++pass)
      if (tessivane_png_read_rows(png.get(), rows.data(), height) != 0) fail();
    for (int y = 0; y < h; ++y) RgbaToBgr(rows[y], bitmap.Row(y), w);
  }
  if (tessivane_png_finish(png.get()) != 0) fail();
  return bitmap;
}

}  // namespace tessivane
