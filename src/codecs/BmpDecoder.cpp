// Windows and OS/2 bitmap files. The headers and the palette are read
// from the first kHeadBytes of the file, the pixels row by row; every
// field is checked against the file's real size before it is used; unknown
// header sizes and compressions are refused as a kind of picture that is
// not read, with their value in the reason.
#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <vector>

#include "base/Errors.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,  // OS/2 2.x: Huffman 1D
  kJpeg = 4,       // OS/2 2.x: RLE24
  kPng = 5,
  kAlphaBitfields = 6,
};

constexpr size_t kFileHeaderSize = 14;
// Bytes that hold every header and palette: the file header, the largest
// info header (124), three colour masks after a 40-byte header, and a
// palette of 256 four-byte entries come to 1,178 bytes.
constexpr size_t kHeadBytes = 2048;
// Bytes of pixel rows read at once.
constexpr size_t kRowChunkBytes = 64 * 1024;
// Most pixels one byte of RLE data may describe. Runs give at most 127.5;
// the rest covers deltas and early ends. A tiny file claiming a huge
// RLE picture is refused instead of allocating it.
constexpr uint64_t kRlePixelsPerByte = 1024;
// Largest ratio of the two pixel densities before the header counts as
// damaged (real files have 1:1, seldom 2:1).
constexpr int64_t kMaxDensityRatio = 100;

// A bitmap that breaks its own format, and one of a kind that is not read.
[[noreturn]] void Fail(const std::string& why) {
  throw PictureError(PictureFailure::kDamaged, "BMP: " + why);
}
[[noreturn]] void Unsupported(const std::string& why) {
  throw PictureError(PictureFailure::kNotAPicture, "BMP: " + why);
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

struct Header {
  uint32_t headerSize = 0;
  bool os2v2 = false;  // OS/2 2.x header (16 or 64 bytes): other compression codes
  int64_t width = 0;
  int64_t height = 0;  // rows, always positive
  bool topDown = false;
  uint32_t planes = 0;
  uint32_t bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t sizeImage = 0;
  int32_t xDensity = 0;
  int32_t yDensity = 0;
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  size_t masksEnd = 0;              // where the palette starts
  size_t dataOffset = 0;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = (uint64_t{m} >> shift);
  }
  uint8_t Get(uint32_t pixel) const {
    uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

// `d` holds the first kHeadBytes of the file (or all of it when shorter);
// `size` is the file's size. Every offset read here lies within the head.
Header ReadHeader(const uint8_t* d, uint64_t size) {
  Header h;
  if (size < kFileHeaderSize + 4) Fail("file is truncated");
  if (U32(d + 2) > size) Fail("file is shorter than its header says");
  h.dataOffset = U32(d + 10);
  h.headerSize = U32(d + kFileHeaderSize);
  switch (h.headerSize) {
    case 12:   // OS/2 1.x, BITMAPCOREHEADER
    case 16:   // OS/2 2.x, short form
    case 40:   // BITMAPINFOHEADER
    case 52:   // with red, green and blue masks
    case 56:   // with an alpha mask too
    case 64:   // OS/2 2.x
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      break;
    default:
      Unsupported(Format("unknown header size %u", h.headerSize));
  }
  if (kFileHeaderSize + h.headerSize > size) Fail("header is truncated");
  const uint8_t* ih = d + kFileHeaderSize;
  h.os2v2 = h.headerSize == 16 || h.headerSize == 64;
  int64_t height;
  if (h.headerSize == 12) {
    h.width = U16(ih + 4);
    height = U16(ih + 6);
    h.planes = U16(ih + 8);
    h.bitCount = U16(ih + 10);
  } else {
    h.width = S32(ih + 4);
    height = S32(ih + 8);
    h.planes = U16(ih + 12);
    h.bitCount = U16(ih + 14);
    if (h.headerSize >= 40) {
      h.compression = U32(ih + 16);
      h.sizeImage = U32(ih + 20);
      h.xDensity = S32(ih + 24);
      h.yDensity = S32(ih + 28);
      h.colorsUsed = U32(ih + 32);
    }
  }
  if (height == INT32_MIN) Fail("height is out of range");
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;

  h.masksEnd = kFileHeaderSize + h.headerSize;
  if (!h.os2v2 && (h.compression == kBitfields || h.compression == kAlphaBitfields)) {
    if (h.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) h.masks[i] = U32(ih + 40 + 4 * i);
      if (h.headerSize >= 56) h.masks[3] = U32(ih + 52);
    } else {
      int count = h.compression == kAlphaBitfields ? 4 : 3;
      if (h.masksEnd + 4 * count > size) Fail("colour masks are truncated");
      for (int i = 0; i < count; ++i) h.masks[i] = U32(d + h.masksEnd + 4 * i);
      h.masksEnd += 4 * count;
    }
  }
  return h;
}

void CheckMasks(const Header& h) {
  uint32_t allowed = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  uint32_t seen = 0;
  for (int i = 0; i < 4; ++i) {
    uint32_t m = h.masks[i];
    if (m == 0) {
      if (i < 3) Fail("a colour mask is zero");
      continue;
    }
    uint32_t low = m >> std::countr_zero(m);
    if ((low & (low + 1)) != 0) Fail("a colour mask is not one run of bits");
    if ((m & ~allowed) != 0) Fail("a colour mask lies outside the pixel");
    if ((m & seen) != 0) Fail("colour masks overlap");
    seen |= m;
  }
}

void CheckFormat(const Header& h) {
  if (h.planes != 1) Fail(Format("planes must be 1, not %u", h.planes));
  if (h.width <= 0) Fail("width is not positive");
  if (h.height == 0) Fail("height is zero");
  const uint32_t c = h.compression;
  const uint32_t bits = h.bitCount;
  if (h.os2v2 && c == kBitfields) Unsupported("OS/2 Huffman 1D compression is not supported");
  if (h.os2v2 && c == kJpeg) Unsupported("OS/2 RLE24 compression is not supported");
  switch (c) {
    case kRgb:
      if (bits == 64) Unsupported("64 bits per pixel are not supported");
      if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Fail(Format("%u bits per pixel are not valid", bits));
      break;
    case kRle8:
    case kRle4:
      if (bits != (c == kRle8 ? 8u : 4u)) Fail(Format("RLE with %u bits per pixel is not valid", bits));
      if (h.topDown) Fail("a top-down bitmap cannot be RLE-compressed");
      break;
    case kBitfields:
    case kAlphaBitfields:
      if (bits != 16 && bits != 32) Fail(Format("bit fields with %u bits per pixel are not valid", bits));
      CheckMasks(h);
      break;
    case kJpeg:
    case kPng:
      break;
    default:
      Unsupported(Format("compression %u is not supported", c));
  }
  if (h.xDensity > 0 && h.yDensity > 0) {
    int64_t lo = std::min(h.xDensity, h.yDensity), hi = std::max(h.xDensity, h.yDensity);
    if (hi / lo > kMaxDensityRatio) Fail("pixel densities are implausible");
  }
}

// The palette as blue, green, red triples.
struct Palette {
  std::array<std::array<uint8_t, 3>, 256> colors{};
  uint32_t count = 0;

  const uint8_t* At(uint32_t index) const {
    if (index >= count) Fail("a pixel's palette index lies past the palette's end");
    return colors[index].data();
  }
};

Palette ReadPalette(const Header& h, const uint8_t* d, uint64_t size) {
  Palette p;
  const size_t entrySize = h.headerSize == 12 ? 3 : 4;
  const size_t start = h.masksEnd;
  const uint32_t full = 1u << h.bitCount;
  if (h.colorsUsed != 0) {
    // The declared palette must fit in the file; entries past what the
    // bit depth can index are never used.
    if (uint64_t{h.colorsUsed} * entrySize > size - start) Fail("palette does not fit in the file");
    p.count = std::min(h.colorsUsed, full);
  } else {
    // The implied full palette, cut short where the pixels begin.
    size_t room = static_cast<size_t>((std::min<uint64_t>(h.dataOffset, size) - start) / entrySize);
    p.count = static_cast<uint32_t>(std::min<size_t>(full, room));
  }
  if (p.count == 0) Fail("palette is empty");
  for (uint32_t i = 0; i < p.count; ++i) {
    const uint8_t* e = d + start + i * entrySize;
    p.colors[i] = {e[0], e[1], e[2]};
  }
  return p;
}

void Put(uint8_t* dst, const uint8_t* bgr) {
  dst[0] = bgr[0];
  dst[1] = bgr[1];
  dst[2] = bgr[2];
}

// Reads the pixel rows in file order, a chunk of rows at a time, and
// hands each to `use(index, row)`.
template <class UseRow>
void ForEachRow(PictureSource& source, const Header& h, uint64_t rowBytes, UseRow use) {
  const int height = static_cast<int>(h.height);
  const size_t rowsPerChunk = static_cast<size_t>(std::max<uint64_t>(1, kRowChunkBytes / rowBytes));
  std::vector<uint8_t> chunk(static_cast<size_t>(rowBytes) * std::min<size_t>(rowsPerChunk, height));
  for (int first = 0; first < height;) {
    const int rows = static_cast<int>(std::min<size_t>(rowsPerChunk, static_cast<size_t>(height - first)));
    const size_t bytes = static_cast<size_t>(rowBytes) * rows;
    if (source.ReadAt(h.dataOffset + first * rowBytes, chunk.data(), bytes) != bytes)
      Fail("pixel data is truncated");
    for (int i = 0; i < rows; ++i) use(first + i, chunk.data() + i * rowBytes);
    first += rows;
  }
}

// Uncompressed pixels: palette indices, 24-bit BGR, or 16/32-bit fields.
Bitmap DecodeUncompressed(const Header& h, PictureSource& source, const Palette& palette) {
  const uint32_t bits = h.bitCount;
  const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * bits + 31) / 32 * 4;
  if (rowBytes * static_cast<uint64_t>(h.height) > source.Size() - h.dataOffset)
    Fail("pixel data is truncated");
  const int width = static_cast<int>(h.width), height = static_cast<int>(h.height);

  std::array<uint32_t, 4> masks = h.masks;
  if (h.compression == kRgb && bits == 16) masks = {0x7C00, 0x03E0, 0x001F, 0};
  if (h.compression == kRgb && bits == 32) masks = {0xFF0000, 0xFF00, 0xFF, 0};
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  auto pixelAt = [&](const uint8_t* row, int x) -> uint32_t {
    return bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
  };

  // An alpha channel that is zero everywhere is taken as unused (writers
  // that do not know alpha leave it so); otherwise pixels lie over white.
  // Finding out takes a first pass over the pixels.
  bool useAlpha = false;
  if (masks[3] != 0 && (bits == 16 || bits == 32)) {
    ForEachRow(source, h, rowBytes, [&](int, const uint8_t* src) {
      for (int x = 0; x < width && !useAlpha; ++x) useAlpha = (pixelAt(src, x) & masks[3]) != 0;
    });
  }

  Bitmap bitmap(width, height);
  ForEachRow(source, h, rowBytes, [&](int y, const uint8_t* src) {
    uint8_t* dst = bitmap.Row(h.topDown ? y : height - 1 - y);
    if (bits <= 8) {
      const uint32_t perByte = 8 / bits, valueMask = (1u << bits) - 1;
      for (int x = 0; x < width; ++x) {
        uint32_t shift = 8 - bits * (1 + x % perByte);
        Put(dst + 3 * x, palette.At((src[x / perByte] >> shift) & valueMask));
      }
    } else if (bits == 24) {
      std::copy(src, src + 3 * static_cast<size_t>(width), dst);
    } else {
      for (int x = 0; x < width; ++x) {
        uint32_t p = pixelAt(src, x);
        uint8_t* o = dst + 3 * x;
        o[0] = blue.Get(p);
        o[1] = green.Get(p);
        o[2] = red.Get(p);
        if (useAlpha) {
          uint8_t a = alpha.Get(p);
          for (int c = 0; c < 3; ++c) o[c] = OverWhite(o[c], a);
        }
      }
    }
  });
  return bitmap;
}

// RLE8 and RLE4. Pixels the data skips (deltas, early ends of line or of
// the bitmap) stay black. A run, a delta or absolute pixels that would
// leave the image, and data that ends before the end-of-bitmap code while
// rows are still missing, are refused.
Bitmap DecodeRle(const Header& h, PictureSource& source, const Palette& palette) {
  BufferedPictureReader data(source);
  uint64_t p = h.dataOffset;
  const uint64_t end = p + (h.sizeImage != 0 ? h.sizeImage : source.Size() - h.dataOffset);
  const uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
  if (pixels / kRlePixelsPerByte > end - p) Fail("RLE data is far too short for the picture");
  const bool rle4 = h.compression == kRle4;
  const int width = static_cast<int>(h.width), height = static_cast<int>(h.height);
  Bitmap bitmap(width, height);
  int x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint32_t index) {
    if (x >= width || y >= height) Fail("RLE pixels run past the image");
    Put(bitmap.Row(height - 1 - y) + 3 * x, palette.At(index));
    ++x;
  };
  // The data lies within the file (checked by the caller), so every byte
  // before `end` can be read.
  auto at = [&](uint64_t offset) {
    const int byte = data.At(offset);
    if (byte < 0) Fail("RLE data is truncated");
    return static_cast<uint8_t>(byte);
  };
  while (true) {
    if (end - p < 2) {
      if (y >= height) break;  // every row written; only the end code is missing
      Fail("RLE data is truncated");
    }
    uint8_t count = at(p), value = at(p + 1);
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(rle4 ? ((i % 2 == 0) ? value >> 4 : value & 15) : value);
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (end - p < 2) Fail("RLE data is truncated");
      x += at(p);
      y += at(p + 1);
      p += 2;
      if (x > width || y > height) Fail("an RLE delta moves past the image");
    } else {  // absolute pixels, padded to a whole 16-bit word
      uint64_t bytes = rle4 ? (value + 1) / 2 : value;
      uint64_t padded = (bytes + 1) & ~uint64_t{1};
      if (end - p < padded) Fail("RLE data is truncated");
      for (int i = 0; i < value; ++i) {
        const uint8_t byte = at(p + (rle4 ? i / 2 : i));
        put(rle4 ? ((i % 2 == 0) ? byte >> 4 : byte & 15) : byte);
      }
      p += padded;
    }
  }
  return bitmap;
}

// A JPEG or PNG stream inside a bitmap file (meant for printers).
Bitmap DecodeEmbedded(const Header& h, PictureSource& source, const PictureLimits& limits) {
  PictureSourceSlice stream(source, h.dataOffset,
                            h.sizeImage != 0 ? h.sizeImage : source.Size() - h.dataOffset);
  const std::vector<uint8_t> head = ReadHead(stream, kSignatureBytes);
  Bitmap bitmap;
  if (h.compression == kJpeg) {
    if (!HasJpegSignature(head.data(), head.size())) Fail("embedded JPEG data is not JPEG");
    bitmap = DecodeJpeg(stream, limits);
  } else {
    if (!HasPngSignature(head.data(), head.size())) Fail("embedded PNG data is not PNG");
    bitmap = DecodePng(stream, limits);
  }
  if (bitmap.Width() != h.width || bitmap.Height() != h.height)
    Fail("embedded picture's size differs from the header's");
  return bitmap;
}

}  // namespace

Bitmap DecodeBmp(PictureSource& source, const PictureLimits& limits) {
  const uint64_t size = source.Size();
  const std::vector<uint8_t> head = ReadHead(source, kHeadBytes);
  if (head.size() != std::min<uint64_t>(size, kHeadBytes)) Fail("file is truncated");
  if (!HasBmpSignature(head.data(), head.size())) Unsupported("not a bitmap file");
  const Header h = ReadHeader(head.data(), size);
  CheckFormat(h);
  CheckPictureSize(h.width, h.height, limits);
  if (h.dataOffset < h.masksEnd || h.dataOffset > size) Fail("pixel data offset lies outside the file");
  if (h.sizeImage > size - h.dataOffset) Fail("declared pixel data is larger than the file");

  if (h.compression == kJpeg || h.compression == kPng) return DecodeEmbedded(h, source, limits);
  Palette palette;
  if (h.bitCount <= 8) palette = ReadPalette(h, head.data(), size);
  if (h.compression == kRle8 || h.compression == kRle4) return DecodeRle(h, source, palette);
  return DecodeUncompressed(h, source, palette);
}

}  // namespace tessivane
