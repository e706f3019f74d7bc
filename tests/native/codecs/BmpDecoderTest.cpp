#include <gtest/gtest.h>

#include <climits>

#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"

namespace tessivane {
namespace {

using testing::BmpFile;
using testing::Bytes;
using testing::ByteWriter;
using testing::Decode;
using testing::ErrorOf;
using testing::Pattern;
using testing::Rgb24;

Bitmap FromRgb(int width, int height, std::initializer_list<uint32_t> rgb) {
  Bitmap b(width, height);
  auto it = rgb.begin();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixelRgb(x, y, *it++);
  return b;
}

// Palette pictures: 1, 2, 4 and 8 bits, rows padded, bottom-up.
BmpFile Paletted(int bits) {
  BmpFile f;
  f.width = 3;
  f.height = 2;
  f.bitCount = static_cast<uint16_t>(bits);
  f.palette = {0x112233, 0xFFFFFF};
  if (bits > 1) f.palette.push_back(0xFF0000);
  // Bottom row indices 0 1 1, top row 1 0 2 (2 -> 1 for one bit).
  uint32_t bottom[3] = {0, 1, 1}, top[3] = {1, 0, bits > 1 ? 2u : 1u};
  for (uint32_t* row : {bottom, top}) {
    uint32_t acc = 0;
    for (int x = 0; x < 3; ++x) acc |= row[x] << (32 - bits * (x + 1));
    ByteWriter w;
    for (int i = 0; i < 4; ++i) w.U8(acc >> (24 - 8 * i));
    f.pixels.insert(f.pixels.end(), w.bytes.begin(), w.bytes.end());
  }
  return f;
}

TEST(BmpDecoder, TwentyFourBitsBottomUpAndTopDownWithRowPadding) {
  const Bitmap p = Pattern(13, 9);  // 39 bytes a row: one byte of padding
  EXPECT_EQ(Decode(Rgb24(p).Write()), p);
  EXPECT_EQ(Decode(Rgb24(p, true).Write()), p);
  BmpFile v4 = Rgb24(p);
  v4.headerSize = 108;
  EXPECT_EQ(Decode(v4.Write()), p);
}

TEST(BmpDecoder, PalettedDepthsAndOs2CoreHeader) {
  for (int bits : {1, 2, 4, 8}) {
    SCOPED_TRACE(bits);
    BmpFile f = Paletted(bits);
    uint32_t two = bits > 1 ? 0xFF0000 : 0xFFFFFF;
    Bitmap expected = FromRgb(3, 2, {0xFFFFFF, 0x112233, two, 0x112233, 0xFFFFFF, 0xFFFFFF});
    EXPECT_EQ(Decode(f.Write()), expected);
    f.headerSize = 12;  // 3-byte palette entries
    EXPECT_EQ(Decode(f.Write()), expected);
  }
}

TEST(BmpDecoder, SixteenAndThirtyTwoBitFields) {
  // Default 5-5-5 (top bit ignored) and 8-8-8 (top byte ignored).
  BmpFile f;
  f.width = 2;
  f.height = 1;
  f.bitCount = 16;
  f.pixels = {0x00, 0xFC, 0x1F, 0x80, 0, 0};  // red 31, then blue 31 with the unused bit set
  EXPECT_EQ(Decode(f.Write()), FromRgb(2, 1, {0xFF0000, 0x0000FF}));
  f.bitCount = 32;
  f.pixels = {0x30, 0x20, 0x10, 0xAB, 0xFF, 0, 0, 0x00};
  EXPECT_EQ(Decode(f.Write()), FromRgb(2, 1, {0x102030, 0x0000FF}));

  // 5-6-5 masks after a 40-byte header; a middle value rounds to the nearest.
  BmpFile m;
  m.width = 2;
  m.height = 1;
  m.bitCount = 16;
  m.compression = 3;
  ByteWriter masks;
  for (uint32_t v : {0xF800u, 0x07E0u, 0x001Fu}) masks.U32(v);
  m.extra = masks.bytes;
  m.pixels = {0xE0, 0x07, 0x10, 0x84, 0, 0};  // green 63; red 16, green 32, blue 16
  EXPECT_EQ(Decode(m.Write()), FromRgb(2, 1, {0x00FF00, 0x848284}));
}

TEST(BmpDecoder, AlphaIsLaidOverWhiteUnlessItIsZeroEverywhere) {
  BmpFile f;
  f.headerSize = 124;
  f.width = 2;
  f.height = 1;
  f.bitCount = 32;
  f.compression = 3;
  f.masks[0] = 0xFF0000;
  f.masks[1] = 0xFF00;
  f.masks[2] = 0xFF;
  f.masks[3] = 0xFF000000;
  ByteWriter px;
  px.U32(0xFF102030);
  px.U32(0x00000000);
  f.pixels = px.bytes;
  EXPECT_EQ(Decode(f.Write()), FromRgb(2, 1, {0x102030, 0xFFFFFF}));
  px = {};
  px.U32(0x00102030);
  px.U32(0x00000000);
  f.pixels = px.bytes;
  EXPECT_EQ(Decode(f.Write()), FromRgb(2, 1, {0x102030, 0x000000}));
}

TEST(BmpDecoder, RleRunsAbsoluteDeltaAndEarlyEnds) {
  for (auto& [name, file] : testing::SeedFiles()) {
    if (name != "rle8.bmp" && name != "rle4.bmp") continue;
    SCOPED_TRACE(name);
    const uint32_t k = 0, r = 0xFF0000, g = 0x00FF00, b = 0x0000FF;
    Bitmap expected = name == "rle8.bmp" ? FromRgb(5, 3, {k, k, k, k, b, g, b, k, k, k, r, r, r, g, g})
                                         : FromRgb(5, 3, {k, k, k, k, b, r, g, b, k, k, r, g, r, g, r});
    EXPECT_EQ(Decode(file), expected);
  }
}

TEST(BmpDecoder, PaletteSizeTraps) {
  // More colours declared than 4 bits can index: the palette fits, the
  // extra entries are never used.
  BmpFile f = Paletted(4);
  f.palette.resize(20, 0x00FF00);
  f.colorsUsed = 20;
  EXPECT_EQ(Decode(f.Write()).PixelRgb(2, 0), 0xFF0000u);
  // A declared palette that cannot fit in the file.
  f.colorsUsed = 0x10000000;
  EXPECT_NE(ErrorOf(f.Write()).find("palette"), std::string::npos);
  // An index past the end of a short palette.
  f = Paletted(8);
  f.colorsUsed = 2;
  f.palette.resize(2);
  EXPECT_NE(ErrorOf(f.Write()).find("palette index"), std::string::npos);
}

TEST(BmpDecoder, HeaderTrapsAreRefusedByName) {
  const Bitmap p = Pattern(4, 4);
  BmpFile f = Rgb24(p);
  f.planes = 2;
  EXPECT_NE(ErrorOf(f.Write()).find("planes"), std::string::npos);
  f = Rgb24(p);
  f.height = INT_MIN;
  EXPECT_NE(ErrorOf(f.Write()).find("height"), std::string::npos);
  f = Rgb24(p);
  f.width = -4;
  EXPECT_NE(ErrorOf(f.Write()).find("width"), std::string::npos);
  f = Rgb24(p);
  f.headerSize = 66;
  EXPECT_NE(ErrorOf(f.Write()).find("header size 66"), std::string::npos);
  f = Rgb24(p);
  f.compression = 9;
  EXPECT_NE(ErrorOf(f.Write()).find("compression 9"), std::string::npos);
  f = Rgb24(p);
  f.bitCount = 30000;
  EXPECT_NE(ErrorOf(f.Write()).find("30000 bits"), std::string::npos);
}

TEST(BmpDecoder, SizeTrapsAreRefusedBeforeAllocating) {
  // Row size would overflow 32 bits; pixel count past the cap; data that
  // cannot hold the declared rows; RLE data far too short for its size.
  BmpFile f = Rgb24(Pattern(4, 4));
  f.bitCount = 32;
  f.width = 0x7FFFFFFF;
  EXPECT_NE(ErrorOf(f.Write()).find("too large"), std::string::npos);
  f.width = 20000;
  f.height = 20000;
  EXPECT_NE(ErrorOf(f.Write()).find("too large"), std::string::npos);
  f.width = 5000;
  f.height = 5000;
  EXPECT_NE(ErrorOf(f.Write()).find("truncated"), std::string::npos);
  f.sizeImage = 100000000;
  EXPECT_NE(ErrorOf(f.Write()).find("larger than the file"), std::string::npos);
  f.sizeImage = -1;
  f.pixels.clear();
  EXPECT_NE(ErrorOf(f.Write()).find("truncated"), std::string::npos);
  f.bitCount = 8;
  f.compression = 1;
  f.palette = {0};
  f.pixels = {0, 1};
  EXPECT_NE(ErrorOf(f.Write()).find("far too short"), std::string::npos);
}

TEST(BmpDecoder, RleThatLeavesTheImageIsRefused) {
  BmpFile f = Paletted(8);
  f.compression = 1;
  f.pixels = {4, 1, 0, 1};  // run of 4 in a row of 3
  EXPECT_NE(ErrorOf(f.Write()).find("past the image"), std::string::npos);
  f.pixels = {0, 2, 0, 3, 0, 1};  // delta below the top row
  EXPECT_NE(ErrorOf(f.Write()).find("delta"), std::string::npos);
  f.pixels = {0, 0, 0, 0, 1, 1, 0, 1};  // end of line twice, then a pixel above the image
  EXPECT_NE(ErrorOf(f.Write()).find("past the image"), std::string::npos);
  f.pixels = {0, 3, 1, 1};  // absolute pixels cut short
  EXPECT_NE(ErrorOf(f.Write()).find("truncated"), std::string::npos);
  f.pixels = {3, 1, 0, 0};  // no end code, a row missing
  EXPECT_NE(ErrorOf(f.Write()).find("truncated"), std::string::npos);
}

TEST(BmpDecoder, BadBitFieldMasksAreRefused) {
  BmpFile f;
  f.width = 1;
  f.height = 1;
  f.bitCount = 16;
  f.compression = 3;
  f.pixels = {0, 0, 0, 0};
  for (auto masks : {std::array<uint32_t, 3>{0xF800, 0x07E0, 0},          // zero
                     std::array<uint32_t, 3>{0xF800, 0x0FE0, 0x001F},     // overlapping
                     std::array<uint32_t, 3>{0xF800, 0x07E0, 0x10001},    // outside 16 bits
                     std::array<uint32_t, 3>{0xF800, 0x05E0, 0x001F}}) {  // not one run
    ByteWriter w;
    for (uint32_t m : masks) w.U32(m);
    f.extra = w.bytes;
    EXPECT_NE(ErrorOf(f.Write()).find("mask"), std::string::npos) << masks[1] << " " << masks[2];
  }
}

}  // namespace
}  // namespace tessivane
