// The three decoders behind DecodePicture, and what they share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/CodecGlue.h"
#include "codecs/PictureLoader.h"

namespace tessivane {

// Each reads its picture from `source` and throws PictureError when it
// cannot decode it.
Bitmap DecodeBmp(PictureSource& source, const PictureLimits& limits);
Bitmap DecodeJpeg(PictureSource& source, const PictureLimits& limits);
Bitmap DecodePng(PictureSource& source, const PictureLimits& limits);

bool HasBmpSignature(const uint8_t* data, size_t size);
bool HasJpegSignature(const uint8_t* data, size_t size);
bool HasPngSignature(const uint8_t* data, size_t size);
// Bytes enough for every signature above.
inline constexpr size_t kSignatureBytes = 8;

// Refuses a picture whose sides are not positive, exceed kMaxPictureSide,
// or whose pixel count exceeds the limit, before anything is allocated.
void CheckPictureSize(int64_t width, int64_t height, const PictureLimits& limits);

// The first `count` bytes of `source` (fewer when it is shorter).
std::vector<uint8_t> ReadHead(PictureSource& source, size_t count);

// `length` bytes of another source from `offset` on, as a source of its
// own (a JPEG or PNG stream inside a bitmap file).
class PictureSourceSlice : public PictureSource {
public:
  PictureSourceSlice(PictureSource& whole, uint64_t offset, uint64_t length)
      : whole_(whole), offset_(offset), length_(length) {}
  uint64_t Size() const override { return length_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

private:
  PictureSource& whole_;
  uint64_t offset_;
  uint64_t length_;
};

// Reads a source byte by byte through a buffer of kBufferBytes, at any
// offset; cheap when the offsets mostly go forward.
class BufferedPictureReader {
public:
  static constexpr size_t kBufferBytes = 64 * 1024;
  explicit BufferedPictureReader(PictureSource& source) : source_(source), buffer_(kBufferBytes) {}
  uint64_t Size() const { return source_.Size(); }
  // The byte at `offset`, or -1 past the end.
  int At(uint64_t offset) {
    if (offset < start_ || offset - start_ >= length_) Fill(offset);
    return offset >= start_ && offset - start_ < length_ ? buffer_[static_cast<size_t>(offset - start_)] : -1;
  }
  // Copies `count` bytes from `offset` on; false when the source ends first.
  bool Copy(uint64_t offset, uint8_t* out, size_t count);
  // Reads the next bytes in order for a library's read callback: up to
  // `count` bytes from the reading position, which then moves past them.
  size_t ReadNext(uint8_t* out, size_t count);
  // The read callback the C libraries call (TessivaneReadFn) with a
  // BufferedPictureReader as context: ReadNext, with a read error given
  // back as (size_t)-1, since nothing may be thrown across a C library.
  static size_t ReadForLibrary(void* context, uint8_t* out, size_t count) noexcept;
  uint64_t position = 0;

private:
  void Fill(uint64_t offset);
  PictureSource& source_;
  std::vector<uint8_t> buffer_;
  uint64_t start_ = 0;
  size_t length_ = 0;
};

// A failure a C library reported (CodecGlue.h): its kind, with the
// library's words as the detail where they tell more; the reason is
// `prefix` ("JPEG: " or "PNG: ") followed by the message.
[[noreturn]] void ThrowLibraryFailure(const char* prefix, const TessivaneFailure& failure);

// A colour channel with opacity `alpha` laid over white, rounded.
inline uint8_t OverWhite(uint32_t channel, uint32_t alpha) {
  return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace tessivane
