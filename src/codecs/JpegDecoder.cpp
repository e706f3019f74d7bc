#include <algorithm>
#include <memory>

#include "base/Errors.h"
#include "codecs/CodecGlue.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

// What the markers tell of a stream before it is decoded.
struct JpegLayout {
  uint64_t compressedBytes = 0;  // from the first scan to the end marker; 0: no end marker
  int scans = 0;
};

uint64_t SegmentLength(BufferedPictureReader& data, uint64_t at) {
  const int high = data.At(at + 2), low = data.At(at + 3);
  return high < 0 || low < 0 ? 0 : (static_cast<uint64_t>(high) << 8) | static_cast<uint64_t>(low);
}

// Walks the markers of the whole stream, skipping the entropy-coded data
// of each scan (where a 0xFF byte is followed by 0x00, a restart marker or
// a fill byte), so that a stream cut short, or with too many scans, is
// refused before the pixels are allocated.
JpegLayout ReadLayout(BufferedPictureReader& data) {
  JpegLayout layout;
  uint64_t at = 2;  // past the start-of-image marker
  uint64_t firstScan = 0;
  while (data.At(at + 1) >= 0) {
    if (data.At(at) != 0xFF) {  // entropy-coded data, or stray bytes between segments
      ++at;
      continue;
    }
    const int marker = data.At(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xD9) {
      if (layout.scans > 0) layout.compressedBytes = at - firstScan;
      return layout;
    }
    if (marker == 0xDA && layout.scans++ == 0) firstScan = at;
    const uint64_t length = SegmentLength(data, at);
    if (length < 2) return layout;
    at += 2 + length;
  }
  layout.compressedBytes = 0;
  return layout;
}

// Memory a picture's whole-image coefficient buffers may take. A
// progressive picture (or one whose components come in separate scans)
// keeps 64 two-byte coefficients per 8 x 8 block of every component until
// the last scan: 2 bytes per pixel for grey, 3 for colour with halved
// chroma (4:2:0), 6 for full-resolution colour, 8 for CMYK; and every scan
// sweeps the buffers of its components again. The budget is the largest
// of three allowances:
// - kJpegBudgetFloor, so that small pictures, with their padding to whole
//   blocks, always pass;
// - as much as the decoded bitmap (3 bytes per pixel), which every grey and
//   4:2:0 picture fits however it is compressed;
// - 1,024 bytes per byte of compressed data, shared out over the scans
//   beyond ten (the default scripts write ten or fewer). Huffman coding
//   spends at least one bit per block in the DC scan, so a complete stream
//   of ten scans or fewer always fits; a stream of 100 scans must carry a
//   byte for every 102 bytes of coefficients (photos carry one for every 2
//   to 30). What exceeds all three is a small stream of many near-empty
//   scans claiming a large picture: decoding it would take hundreds of
//   megabytes and sweep them once a scan for a picture of nothing.
// Never more than kMaxJpegMemory, libjpeg's own cap, so that a picture it
// would refuse halfway is refused before the bitmap is allocated.
constexpr uint64_t kJpegBudgetFloor = uint64_t{4} << 20;
constexpr uint64_t kCoefficientBytesPerCompressedByte = 1024;
constexpr uint64_t kDefaultScans = 10;

uint64_t CoefficientBudget(uint64_t pixels, const JpegLayout& layout) {
  const uint64_t scans = std::max<uint64_t>(kDefaultScans, static_cast<uint64_t>(layout.scans));
  const uint64_t byData = kCoefficientBytesPerCompressedByte * layout.compressedBytes * kDefaultScans / scans;
  return std::min(std::max({kJpegBudgetFloor, 3 * pixels, byData}), kMaxJpegMemory);
}

}  // namespace

Bitmap DecodeJpeg(PictureSource& source, const PictureLimits& limits) {
  BufferedPictureReader data(source);
  std::unique_ptr<TessivaneJpeg, void (*)(TessivaneJpeg*)> jpeg(tessivane_jpeg_open(), &tessivane_jpeg_close);
  if (!jpeg) throw std::bad_alloc();
  auto fail = [&]() { ThrowLibraryFailure("JPEG: ", *tessivane_jpeg_failure(jpeg.get())); };
  uint32_t width = 0, height = 0;
  if (tessivane_jpeg_read_header(jpeg.get(), &BufferedPictureReader::ReadForLibrary, &data, kMaxJpegMemory,
                                 kMaxJpegScans, &width, &height) != 0)
    fail();
  CheckPictureSize(width, height, limits);
  const JpegLayout layout = ReadLayout(data);
  if (layout.compressedBytes == 0) throw PictureError(PictureFailure::kDamaged, "JPEG: data ended early");
  if (layout.scans > kMaxJpegScans)
    throw PictureError(PictureFailure::kTooLarge,
                       Format("JPEG: progressive JPEG has more than %d scans", kMaxJpegScans));
  if (tessivane_jpeg_coefficient_bytes(jpeg.get()) > CoefficientBudget(uint64_t{width} * height, layout))
    throw PictureError(PictureFailure::kTooLarge, "JPEG: picture is too large for its data");
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  if (tessivane_jpeg_read_pixels(jpeg.get(), bitmap.Data(), bitmap.Stride()) != 0) fail();
  return bitmap;
}

}  // namespace tessivane
