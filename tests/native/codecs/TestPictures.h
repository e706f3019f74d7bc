// Pictures made by the tests themselves: BMP files written byte by byte,
// JPEG and PNG files written with the libraries' encoders. The same
// files seed the fuzzer.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/Bitmap.h"

namespace tessivane::testing {

using Bytes = std::vector<uint8_t>;

// A picture with a different colour in every pixel.
Bitmap Pattern(int width, int height);

// Little-endian writer for hand-made files.
struct ByteWriter {
  Bytes bytes;
  void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  void Put(const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
  void PadTo4() {
    while (bytes.size() % 4) U8(0);
  }
};

// A BMP file: 14-byte file header, an info header of `headerSize` bytes
// (12 = OS/2 core; otherwise the BITMAPINFOHEADER fields, zero-filled up
// to headerSize, with masks written in place for 52 bytes and more), then
// `extra` (masks of a 40-byte header), the palette and the pixel data.
struct BmpFile {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // in the header when headerSize >= 52
  Bytes extra;                       // between the header and the palette
  std::vector<uint32_t> palette;     // 0xRRGGBB
  Bytes pixels;
  int64_t sizeImage = -1;  // -1: the size of `pixels`
  Bytes Write() const;
};

// Rows of a bitmap as uncompressed BMP pixel data (bottom-up unless
// topDown), 24 bits per pixel.
Bytes BmpRows24(const Bitmap& picture, bool topDown);
// A 24-bit BMP of the bitmap (a negative height when topDown).
BmpFile Rgb24(const Bitmap& picture, bool topDown = false);

struct JpegOptions {
  int quality = 100;
  bool progressive = false;
  bool arithmetic = false;
  bool grayscale = false;
  bool cmyk = false;  // Adobe CMYK (inverted inks); with ycck: stored as YCCK
  bool ycck = false;
  // Custom progressive script: a DC scan, then one scan per spectral band
  // and component, the 63 AC coefficients split into `acBands` bands (63
  // gives 190 scans for a colour picture, 33 gives 100).
  bool manyScans = false;
  int acBands = 63;
};
Bytes EncodeJpeg(const Bitmap& picture, const JpegOptions& options = {});

// A PNG of the given colour type and depth. `samples` holds, row by row,
// the channels of every pixel (1 grey, 2 grey+alpha, 3 RGB, 4 RGBA, or 1
// palette index), each at most 2^depth - 1.
struct PngFile {
  int width = 0;
  int height = 0;
  int colorType = 2;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint16_t> samples;
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint8_t> paletteAlpha;
  Bytes Write() const;
};
Bytes EncodePng(const Bitmap& picture, bool interlaced = false);

// Named seed files covering every format and variant (the fuzzer's corpus
// and the prefix test's input).
std::vector<std::pair<std::string, Bytes>> SeedFiles();

// The picture loader on bytes in memory, and the reason it refuses them
// for ("(decoded)" when it does not).
Bitmap Decode(const Bytes& file);
std::string ErrorOf(const Bytes& file);

}  // namespace tessivane::testing
