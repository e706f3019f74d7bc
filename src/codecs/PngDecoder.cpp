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

// Walks the chunks up to IEND, before anything large is allocated: a file
// cut short, or whose compressed pixel data could not hold the pixels its
// header declares even at deflate's best ratio, is refused. libpng checks
// everything else.
void CheckChunks(const uint8_t* data, size_t size, uint64_t width, uint64_t height) {
  uint64_t compressed = 0;
  bool ended = false;
  size_t at = 8;
  while (!ended && at + 8 <= size) {
    const uint64_t length = Be32(data + at);
    if (length > size - at - 8 || size - at - 8 - length < 4) break;
    if (std::memcmp(data + at + 4, "IDAT", 4) == 0) compressed += length;
    ended = std::memcmp(data + at + 4, "IEND", 4) == 0;
    at += 12 + static_cast<size_t>(length);
  }
  if (!ended) throw PictureError("PNG: data ended early");
  // Bits per pixel from the header (libpng has checked it): channels x depth.
  static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  const uint64_t bits = uint64_t{data[24]} * (data[25] < 7 ? kChannels[data[25]] : 1);
  if ((width * height * bits + 7) / 8 > compressed * kMaxDeflateRatio)
    throw PictureError("PNG: pixel data is too short for the picture's size");
}

}  // namespace

Bitmap DecodePng(const uint8_t* data, size_t size, const PictureLimits& limits) {
  std::unique_ptr<TessivanePng, void (*)(TessivanePng*)> png(tessivane_png_open(), &tessivane_png_close);
  if (!png) throw std::bad_alloc();
  auto fail = [&]() { throw PictureError(std::string("PNG: ") + tessivane_png_message(png.get())); };
  uint32_t width = 0, height = 0;
  int passes = 0;
  if (tessivane_png_read_header(png.get(), data, size, kMaxPictureSide, kMaxPngChunkBytes, &width, &height,
                                &passes) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  CheckChunks(data, size, width, height);
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
