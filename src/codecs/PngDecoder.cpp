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
