#include "codecs/PictureLoader.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/FileSystem.h"
#include "codecs/Decoders.h"

namespace tessivane {

bool HasBmpSignature(const uint8_t* data, size_t size) {
  return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool HasJpegSignature(const uint8_t* data, size_t size) {
  return size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

bool HasPngSignature(const uint8_t* data, size_t size) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

void CheckPictureSize(int64_t width, int64_t height, const PictureLimits& limits) {
  if (width <= 0 || height <= 0) throw PictureError("picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > limits.maxPixels)
    throw PictureError("picture is too large");
}

// The formats are tried in the order BMP, JPEG, PNG. Each decoder refuses
// at once a file without its signature, so going by the first bytes gives
// the same outcome as trying them in turn, with the most telling error.
Bitmap DecodePicture(const uint8_t* data, size_t size, const PictureLimits& limits) {
  try {
    if (HasBmpSignature(data, size)) return DecodeBmp(data, size, limits);
    if (HasJpegSignature(data, size)) return DecodeJpeg(data, size, limits);
    if (HasPngSignature(data, size)) return DecodePng(data, size, limits);
  } catch (const std::bad_alloc&) {
    throw PictureOutOfMemory("not enough memory for the picture");
  } catch (const std::length_error&) {
    throw PictureOutOfMemory("picture is too large for the memory");
  }
  throw PictureError("not a BMP, JPEG or PNG picture");
}

Bitmap LoadPicture(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadFileResult read;
  try {
    read = ReadWholeFile(path, kMaxPictureFileBytes, bytes);
  } catch (const std::bad_alloc&) {
    // A file within the cap that the memory left cannot hold fails like
    // any other file that does not load.
    throw PictureOutOfMemory("not enough memory to read " + path);
  }
  switch (read) {
    case ReadFileResult::kOk:
      break;
    case ReadFileResult::kCannotOpen:
      throw PictureError("cannot open " + path);
    case ReadFileResult::kNotAFile:
      throw PictureError(path + " is not a file");
    case ReadFileResult::kTooLarge:
      throw PictureError(path + " is too large for a picture");
    case ReadFileResult::kReadError:
      throw PictureError("cannot read " + path);
  }
  try {
    return DecodePicture(bytes.data(), bytes.size());
  } catch (const PictureOutOfMemory& e) {
    throw PictureOutOfMemory(path + ": " + e.what());
  } catch (const PictureError& e) {
    throw PictureError(path + ": " + e.what());
  }
}

}  // namespace tessivane
