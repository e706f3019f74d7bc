// Loading a source picture: a BMP, JPEG or PNG file (format found by
// content, whatever the extension says) becomes a 24-bit Bitmap, or a
// PictureError says why not. Nothing a file holds can crash the program,
// make it allocate more than the limits below allow, or leak; a file is
// read in pieces, never held whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "base/Bitmap.h"

namespace tessivane {

// Why a picture could not be loaded, as the user is told.
enum class PictureFailure {
  kCannotOpen,   // the file cannot be opened or read
  kNotAPicture,  // not a BMP, JPEG or PNG picture, or a kind of one that is not read
  kDamaged,      // damaged or cut short
  kTooLarge,     // more pixels or bytes than a picture may have
  kOutOfMemory,  // the memory left could not hold it; the file may be sound
};

// The catalog text of a failure in the installed language.
const char* PictureFailureText(PictureFailure failure);

// A picture that could not be loaded. what() is the failure's catalog text
// in the installed language, followed on a line of its own by the detail:
// a decoding library's own words, where they tell more than the failure's
// text. Reason() says what exactly was wrong, in English, for developers
// (the tests tell the checks apart by it); the user is never shown it.
class PictureError : public std::runtime_error {
public:
  PictureError(PictureFailure failure, std::string reason, const std::string& detail = {});
  PictureFailure Failure() const noexcept { return failure_; }
  const std::string& Reason() const noexcept { return reason_; }
  // The same failure, its message naming the file `name` (NameInMessage).
  PictureError AboutFile(const std::string& name) const;

private:
  struct Worded {};  // the message is given whole
  PictureError(Worded, PictureFailure failure, std::string reason, const std::string& message);
  PictureFailure failure_;
  std::string reason_;
};

// Out of memory (PictureFailure::kOutOfMemory, always thrown as this
// type): loading it again later may succeed.
class PictureOutOfMemory : public PictureError {
public:
  explicit PictureOutOfMemory(std::string reason = {})
      : PictureError(PictureFailure::kOutOfMemory, std::move(reason)) {}
};

// Whether `e` is a picture's out-of-memory failure or an allocation
// failure (IsAllocationFailure): nothing said about the file.
bool RanOutOfMemory(const std::exception& e) noexcept;

// Throws PictureError, or PictureOutOfMemory for kOutOfMemory.
[[noreturn]] void ThrowPictureFailure(PictureFailure failure, std::string reason,
                                      const std::string& detail = {});

#if defined(TESSIVANE_SMALL_PICTURE_LIMITS)
// The fuzz build scales every limit down, so that inputs of a few
// kilobytes reach the paths that refuse large pictures, and every run
// stays fast.
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 20;
inline constexpr uint32_t kMaxPictureSide = 4096;
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{1} << 20;
inline constexpr uint64_t kMaxJpegMemory = uint64_t{16} << 20;
inline constexpr int kMaxJpegScans = 100;
inline constexpr uint32_t kMaxPngChunkBytes = 65'536;
#else
// Largest picture accepted, in pixels: 89,478,485, the count at which
// widely used imaging libraries start warning of a decompression bomb.
// A 24-bit bitmap of that size is just under 256 MiB, and the saver holds
// several copies of its source (the loaded picture, the composer's copy,
// the effect buffers) in a 32-bit process; twice that would not fit.
inline constexpr uint64_t kMaxPicturePixels = 89'478'485;
// Longest side accepted (libpng's own default limit), so that no row
// buffer of any decoder grows past a few megabytes.
inline constexpr uint32_t kMaxPictureSide = 1'000'000;
// Largest picture file accepted: a 32-bit BMP at the pixel cap fits.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;
// Working memory libjpeg may use (a progressive 4:4:4 picture at the
// pixel cap keeps about 6 bytes of coefficients per pixel).
inline constexpr uint64_t kMaxJpegMemory = uint64_t{640} << 20;
// Scans a progressive JPEG may have (real encoders write about 10).
inline constexpr int kMaxJpegScans = 100;
// Largest ancillary PNG chunk libpng may allocate (libpng's default).
inline constexpr uint32_t kMaxPngChunkBytes = 8'000'000;
#endif

struct PictureLimits {
  uint64_t maxPixels = kMaxPicturePixels;
};

// Where a decoder reads a picture's bytes: a file or memory. Decoders
// look at the first bytes, then read only what they need, in pieces, so
// that a load holds about the decoded bitmap, never the whole file.
class PictureSource {
public:
  virtual ~PictureSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to `count` bytes at `offset` (fewer only past the end) and
  // returns how many; throws PictureError when the bytes cannot be read.
  virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;
};

// Bytes held in memory (which must outlive the source).
class MemoryPictureSource : public PictureSource {
public:
  MemoryPictureSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

private:
  const uint8_t* data_;
  size_t size_;
};

// Decodes a picture: BMP, JPEG or PNG, tried in that order. Transparent
// pixels are composited over white.
Bitmap DecodePicture(PictureSource& source, const PictureLimits& limits = {});
Bitmap DecodePicture(const uint8_t* data, size_t size, const PictureLimits& limits = {});

// Opens the file at `path` (UTF-8) and decodes it from the file.
Bitmap LoadPicture(const std::string& path);

}  // namespace tessivane
