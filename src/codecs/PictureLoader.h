// Loading a source picture: a BMP, JPEG or PNG file (format found by
// content, whatever the extension says) becomes a 24-bit Bitmap, or a
// PictureError says why not. Nothing a file holds can crash the program,
// make it allocate more than the limits below allow, or leak.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/Bitmap.h"

namespace tessivane {

// Why a picture could not be loaded (unreadable file, unknown format,
// damaged or oversized picture). what() is a short English text.
class PictureError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The memory left could not hold the picture (or reading it): the file may
// be sound, and loading it again later may succeed.
class PictureOutOfMemory : public PictureError {
public:
  using PictureError::PictureError;
};

// Largest picture accepted, in pixels: 89,478,485, the count at which
// widely used imaging libraries start warning of a decompression bomb.
// A 24-bit bitmap of that size is just under 256 MiB, and the saver holds
// several copies of its source (the loaded picture, the composer's copy,
// the effect buffers) in a 32-bit process; twice that would not fit.
inline constexpr uint64_t kMaxPicturePixels = 89'478'485;
// Longest side accepted (libpng's own default limit), so that no row
// buffer of any decoder grows past a few megabytes.
inline constexpr uint32_t kMaxPictureSide = 1'000'000;
// Largest file read into memory: a 32-bit BMP at the pixel cap fits.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;
// Working memory libjpeg may use (a progressive 4:4:4 picture at the
// pixel cap keeps about 6 bytes of coefficients per pixel).
inline constexpr uint64_t kMaxJpegMemory = uint64_t{640} << 20;
// Scans a progressive JPEG may have (real encoders write about 10).
inline constexpr int kMaxJpegScans = 100;
// Largest ancillary PNG chunk libpng may allocate (libpng's default).
inline constexpr uint32_t kMaxPngChunkBytes = 8'000'000;

struct PictureLimits {
  uint64_t maxPixels = kMaxPicturePixels;
};

// Decodes a picture held in memory: BMP, JPEG or PNG, tried in that
// order. Transparent pixels are composited over white.
Bitmap DecodePicture(const uint8_t* data, size_t size, const PictureLimits& limits = {});

// Reads the file at `path` (UTF-8) and decodes it.
Bitmap LoadPicture(const std::string& path);

}  // namespace tessivane
