// The three decoders behind DecodePicture, and what they share.
#pragma once
#include <cstddef>
#include <cstdint>

#include "codecs/PictureLoader.h"

namespace tessivane {

// Each takes the whole file and throws PictureError when it cannot
// decode it.
Bitmap DecodeBmp(const uint8_t* data, size_t size, const PictureLimits& limits);
Bitmap DecodeJpeg(const uint8_t* data, size_t size, const PictureLimits& limits);
Bitmap DecodePng(const uint8_t* data, size_t size, const PictureLimits& limits);

bool HasBmpSignature(const uint8_t* data, size_t size);
bool HasJpegSignature(const uint8_t* data, size_t size);
bool HasPngSignature(const uint8_t* data, size_t size);

// Refuses a picture whose sides are not positive, exceed kMaxPictureSide,
// or whose pixel count exceeds the limit, before anything is allocated.
void CheckPictureSize(int64_t width, int64_t height, const PictureLimits& limits);

// A colour channel with opacity `alpha` laid over white, rounded.
inline uint8_t OverWhite(uint32_t channel, uint32_t alpha) {
  return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace tessivane
