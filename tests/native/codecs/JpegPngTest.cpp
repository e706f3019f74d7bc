#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <png.h>
#include <zlib.h>

#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"

namespace tessivane {
namespace {

using testing::Bytes;
using testing::Decode;
using testing::EncodeJpeg;
using testing::ErrorOf;
using testing::JpegOptions;
using testing::Pattern;
using testing::PngFile;

int MaxDifference(const Bitmap& a, const Bitmap& b) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  int worst = 0;
  for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
    for (int x = 0; x < 3 * std::min(a.Width(), b.Width()); ++x)
      worst = std::max(worst, std::abs(a.Row(y)[x] - b.Row(y)[x]));
  return worst;
}

uint8_t OverWhite(uint32_t c, uint32_t a) {
  return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

// Finds a marker segment (0xFF, code) in a JPEG stream.
size_t FindMarker(const Bytes& jpeg, uint8_t code) {
  for (size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
  return 0;
}

TEST(JpegDecoder, BaselineProgressiveAndArithmeticGiveTheSamePixels) {
  const Bitmap p = Pattern(37, 21);  // not a multiple of the 8x8 block
  const Bitmap baseline = Decode(EncodeJpeg(p));
  EXPECT_LE(MaxDifference(baseline, p), 8);
  JpegOptions progressive;
  progressive.progressive = true;
  EXPECT_EQ(Decode(EncodeJpeg(p, progressive)), baseline);
  JpegOptions arithmetic;
  arithmetic.arithmetic = true;
  EXPECT_EQ(Decode(EncodeJpeg(p, arithmetic)), baseline);
}

TEST(JpegDecoder, GreyscaleAndAdobeCmykAndYcckBecomeRgb) {
  const Bitmap p = Pattern(16, 16);
  JpegOptions gray;
  gray.grayscale = true;
  const Bitmap g = Decode(EncodeJpeg(p, gray));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint8_t* px = g.Row(y) + 3 * x;
      EXPECT_TRUE(px[0] == px[1] && px[1] == px[2]);
      EXPECT_NEAR(px[1], p.Row(y)[3 * x + 1], 8);
    }
  JpegOptions cmyk;
  cmyk.cmyk = true;
  EXPECT_LE(MaxDifference(Decode(EncodeJpeg(p, cmyk)), p), 8);
  cmyk.ycck = true;
  EXPECT_LE(MaxDifference(Decode(EncodeJpeg(p, cmyk)), p), 8);
}

TEST(JpegDecoder, TooManyScansTruncationAndHugeSizesAreRefused) {
  const Bitmap p = Pattern(16, 8);
  JpegOptions many;
  many.progressive = true;
  many.manyScans = true;  // 190 scans
  EXPECT_NE(ErrorOf(EncodeJpeg(p, many)).find("more than 100 scans"), std::string::npos);

  Bytes file = EncodeJpeg(p);
  Bytes cut(file.begin(), file.begin() + file.size() * 2 / 3);
  EXPECT_NE(ErrorOf(cut).find("JPEG"), std::string::npos);
  cut.assign(file.begin(), file.end() - 2);  // only the end marker missing
  EXPECT_NE(ErrorOf(cut).find("JPEG"), std::string::npos);

  // Cut short and claiming 8000 x 8000 (within the cap): refused before
  // the pixels are allocated.
  size_t sof = FindMarker(file, 0xC0);
  ASSERT_NE(sof, 0u);
  cut.assign(file.begin(), file.end() - 40);
  cut[sof + 5] = cut[sof + 7] = 0x1F;
  cut[sof + 6] = cut[sof + 8] = 0x40;
  EXPECT_EQ(ErrorOf(cut), "JPEG: data ended early");

  file[sof + 5] = file[sof + 7] = 0xEA;  // 60000 x 60000
  file[sof + 6] = file[sof + 8] = 0x60;
  EXPECT_NE(ErrorOf(file).find("too large"), std::string::npos);
}

// A smooth picture: gradients with a little texture, like sky or skin in
// a photo, which compresses far better than Pattern's noise.
Bitmap Smooth(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* px = b.Row(y) + 3 * x;
      px[0] = static_cast<uint8_t>(120 + 100 * x / width + ((x * 7 + y * 13) % 5));
      px[1] = static_cast<uint8_t>(80 + 120 * y / height);
      px[2] = static_cast<uint8_t>(200 - 60 * (x + y) / (width + height));
    }
  return b;
}

TEST(JpegDecoder, ProgressiveMemoryBudgetKeepsNormalPicturesAndRefusesBombs) {
  // Full-resolution colour (6 bytes of coefficients per pixel, twice the
  // bitmap), CMYK and grey, with the default scans, at common qualities.
  for (int quality : {50, 90}) {
    SCOPED_TRACE(quality);
    JpegOptions options;
    options.progressive = true;
    options.quality = quality;
    const Bitmap smooth = Smooth(1600, 1200);
    EXPECT_LE(MaxDifference(Decode(EncodeJpeg(smooth, options)), smooth), 40);
    options.cmyk = true;
    EXPECT_LE(MaxDifference(Decode(EncodeJpeg(smooth, options)), smooth), 40);
    options.cmyk = false;
    options.grayscale = true;
    EXPECT_NO_THROW(Decode(EncodeJpeg(smooth, options)));
  }

  // 2048 x 2048 of one colour in 100 scans: 25 MB of coefficients from a
  // few kilobytes of data. Refused from the headers, without decoding.
  JpegOptions bomb;
  bomb.progressive = true;
  bomb.manyScans = true;
  bomb.acBands = 33;
  const Bytes file = EncodeJpeg(Bitmap(2048, 2048), bomb);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ErrorOf(file), "JPEG: picture is too large for its data");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

// Samples for a PNG of the given layout, and the picture it must decode to.
struct PngCase {
  PngFile file;
  Bitmap expected;
};

PngCase MakePngCase(int colorType, int depth, bool interlaced) {
  PngCase c;
  PngFile& f = c.file;
  f.width = 7;
  f.height = 5;
  f.colorType = colorType;
  f.bitDepth = depth;
  f.interlaced = interlaced;
  const uint32_t max = (1u << depth) - 1;
  const int channels = colorType == 0 || colorType == 3 ? 1 : colorType == 4 ? 2 : colorType == 2 ? 3 : 4;
  uint32_t seed = 12345 + colorType * 100 + depth;
  auto next = [&]() {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8);
  };
  if (colorType == 3) {
    for (uint32_t i = 0; i <= max; ++i) f.palette.push_back(next() & 0xFFFFFF);
    for (uint32_t i = 0; i < std::min(max, 5u); ++i) f.paletteAlpha.push_back(static_cast<uint8_t>(next()));
  }
  auto to8 = [&](uint32_t v) -> uint32_t { return depth == 16 ? (v * 255 + 32767) / 65535 : v * 255 / max; };
  c.expected = Bitmap(f.width, f.height);
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      uint32_t s[4];
      for (int i = 0; i < channels; ++i) {
        s[i] = next() % (max + 1);
        f.samples.push_back(static_cast<uint16_t>(s[i]));
      }
      uint32_t r, g, b, a = 255;
      if (colorType == 3) {
        uint32_t rgb = f.palette[s[0]];
        r = rgb >> 16, g = (rgb >> 8) & 255, b = rgb & 255;
        if (s[0] < f.paletteAlpha.size()) a = f.paletteAlpha[s[0]];
      } else if (channels <= 2) {
        r = g = b = to8(s[0]);
        if (channels == 2) a = to8(s[1]);
      } else {
        r = to8(s[0]), g = to8(s[1]), b = to8(s[2]);
        if (channels == 4) a = to8(s[3]);
      }
      c.expected.SetPixelRgb(x, y, (OverWhite(r, a) << 16) | (OverWhite(g, a) << 8) | OverWhite(b, a));
    }
  return c;
}

TEST(PngDecoder, EveryColourTypeAndDepthInterlacedOrNot) {
  const std::pair<int, std::vector<int>> layouts[] = {
      {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}}, {PNG_COLOR_TYPE_RGB, {8, 16}},
      {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}},  {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}},
      {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}},
  };
  for (const auto& [type, depths] : layouts)
    for (int depth : depths)
      for (bool interlaced : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << "type " << type << " depth " << depth << " interlaced " << interlaced);
        PngCase c = MakePngCase(type, depth, interlaced);
        EXPECT_EQ(Decode(c.file.Write()), c.expected);
      }
}

uint32_t Crc(const uint8_t* data, size_t size) {
  return static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

TEST(PngDecoder, DamagedAndHugeFilesAreRefused) {
  const Bytes file = testing::EncodePng(Pattern(9, 9));
  Bytes cut(file.begin(), file.begin() + file.size() / 2);
  EXPECT_NE(ErrorOf(cut).find("PNG"), std::string::npos);
  cut.assign(file.begin(), file.end() - 12);  // the end chunk missing
  EXPECT_NE(ErrorOf(cut).find("PNG"), std::string::npos);

  Bytes flipped = file;
  flipped[flipped.size() - 20] ^= 0x40;  // inside the pixel data: its CRC fails
  EXPECT_NE(ErrorOf(flipped).find("PNG"), std::string::npos);

  // IHDR claiming 60000 x 60000 (past the cap), then 8000 x 8000 (within
  // it, but more than the pixel data could ever hold), with correct CRCs.
  auto resized = [&](uint8_t high, uint8_t low) {
    Bytes huge = file;
    for (int i : {16, 20}) {
      huge[i] = huge[i + 1] = 0;
      huge[i + 2] = high;
      huge[i + 3] = low;
    }
    uint32_t crc = Crc(huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return huge;
  };
  EXPECT_NE(ErrorOf(resized(0xEA, 0x60)).find("too large"), std::string::npos);
  EXPECT_EQ(ErrorOf(resized(0x1F, 0x40)), "PNG: pixel data is too short for the picture's size");
}

void PutBe32(Bytes& file, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// A chunk of `type` with `data`, its CRC correct, inserted after IHDR.
Bytes WithChunkAfterHeader(const Bytes& png, const char* type, const Bytes& data) {
  Bytes chunk(8);
  PutBe32(chunk, 0, static_cast<uint32_t>(data.size()));
  std::copy(type, type + 4, chunk.begin() + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  chunk.resize(chunk.size() + 4);
  PutBe32(chunk, chunk.size() - 4, Crc(chunk.data() + 4, chunk.size() - 8));
  Bytes out = png;
  out.insert(out.begin() + 33, chunk.begin(), chunk.end());
  return out;
}

TEST(PngDecoder, LimitsAreCheckedBeforeLibpngAllocates) {
  const Bytes file = testing::EncodePng(Pattern(9, 9));
  // One side past the side limit says what the other formats say.
  for (int side : {16, 20}) {
    Bytes wide = file;
    PutBe32(wide, side, kMaxPictureSide + 1);
    PutBe32(wide, 36 - side, 1);
    PutBe32(wide, 29, Crc(wide.data() + 12, 17));
    EXPECT_EQ(ErrorOf(wide), "picture is too large");
  }

  // A text chunk larger than libpng may allocate, complete and with its
  // CRC right, is refused; so is one that declares 800 MB in a small file
  // (found by fuzzing: libpng allocated the declared length).
  EXPECT_EQ(ErrorOf(WithChunkAfterHeader(file, "tEXt", Bytes(kMaxPngChunkBytes + 1, 'a'))),
            "PNG: chunk data is too large");
  EXPECT_NO_THROW(Decode(WithChunkAfterHeader(file, "tEXt", Bytes(1000, 'a'))));
  Bytes claim = WithChunkAfterHeader(file, "iTXt", Bytes(100, 'a'));
  PutBe32(claim, 33, 800'000'000);
  EXPECT_EQ(ErrorOf(claim), "PNG: data ended early");
}

}  // namespace
}  // namespace tessivane
