#include "codecs/PictureLoader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Texts.h"
#include "codecs/Decoders.h"

namespace tessivane {

namespace {

std::string FailureMessage(PictureFailure failure, const std::string& detail) {
  std::string message = PictureFailureText(failure);
  if (!detail.empty()) message += "\r\n" + detail;
  return message;
}

// An open picture file; every read goes to the file.
class FilePictureSource : public PictureSource {
public:
  explicit FilePictureSource(ReadOnlyFile& file) : file_(file) {}
  uint64_t Size() const override { return file_.Size(); }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    size_t done = 0;
    if (!file_.ReadAt(offset, out, count, done))
      throw PictureError(PictureFailure::kCannotOpen, "cannot read the file");
    return done;
  }

private:
  ReadOnlyFile& file_;
};

}  // namespace

const char* PictureFailureText(PictureFailure failure) {
  switch (failure) {
    case PictureFailure::kCannotOpen:
      return Tr(TextId::kPictureCannotOpen);
    case PictureFailure::kNotAPicture:
      return Tr(TextId::kPictureNotReadable);
    case PictureFailure::kDamaged:
      return Tr(TextId::kPictureDamaged);
    case PictureFailure::kTooLarge:
      return Tr(TextId::kPictureTooLarge);
    case PictureFailure::kOutOfMemory:
      return Tr(TextId::kOutOfMemory);
  }
  return Tr(TextId::kPictureDamaged);
}

PictureError::PictureError(PictureFailure failure, std::string reason, const std::string& detail)
    : PictureError(Worded{}, failure, std::move(reason), FailureMessage(failure, detail)) {}

PictureError::PictureError(Worded, PictureFailure failure, std::string reason, const std::string& message)
    : std::runtime_error(message), failure_(failure), reason_(std::move(reason)) {}

PictureError PictureError::AboutFile(const std::string& name) const {
  return PictureError(Worded{}, failure_, reason_, NameInMessage(name, what()));
}

bool RanOutOfMemory(const std::exception& e) noexcept {
  const auto* picture = dynamic_cast<const PictureError*>(&e);
  return picture ? picture->Failure() == PictureFailure::kOutOfMemory : IsAllocationFailure(e);
}

void ThrowPictureFailure(PictureFailure failure, std::string reason, const std::string& detail) {
  if (failure == PictureFailure::kOutOfMemory) throw PictureOutOfMemory(std::move(reason));
  throw PictureError(failure, std::move(reason), detail);
}

size_t MemoryPictureSource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= size_) return 0;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  if (n > 0) std::memcpy(out, data_ + offset, n);
  return n;
}

size_t PictureSourceSlice::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= length_) return 0;
  return whole_.ReadAt(offset_ + offset, out,
                       static_cast<size_t>(std::min<uint64_t>(count, length_ - offset)));
}

// The buffer starts a little before `offset`, so that a parser looking a
// byte or two back after crossing into it does not read it all again.
void BufferedPictureReader::Fill(uint64_t offset) {
  start_ = offset - std::min<uint64_t>(offset, 16);
  length_ = source_.ReadAt(start_, buffer_.data(), buffer_.size());
}

bool BufferedPictureReader::Copy(uint64_t offset, uint8_t* out, size_t count) {
  while (count > 0) {
    if (At(offset) < 0) return false;
    const size_t n = std::min(count, static_cast<size_t>(start_ + length_ - offset));
    std::memcpy(out, buffer_.data() + (offset - start_), n);
    out += n;
    offset += n;
    count -= n;
  }
  return true;
}

size_t BufferedPictureReader::ReadNext(uint8_t* out, size_t count) {
  size_t done = 0;
  while (done < count && At(position) >= 0) {
    const size_t n = std::min(count - done, static_cast<size_t>(start_ + length_ - position));
    std::memcpy(out + done, buffer_.data() + (position - start_), n);
    done += n;
    position += n;
  }
  return done;
}

size_t BufferedPictureReader::ReadForLibrary(void* context, uint8_t* out, size_t count) noexcept {
  try {
    return static_cast<BufferedPictureReader*>(context)->ReadNext(out, count);
  } catch (...) {
    return static_cast<size_t>(-1);
  }
}

void ThrowLibraryFailure(const char* prefix, const TessivaneFailure& failure) {
  const std::string reason = prefix + std::string(failure.message);
  const std::string detail = failure.library_words ? reason : std::string();
  switch (failure.kind) {
    case TESSIVANE_FAILED_CUT_SHORT:
      ThrowPictureFailure(PictureFailure::kDamaged, reason);
    case TESSIVANE_FAILED_READ:
      ThrowPictureFailure(PictureFailure::kCannotOpen, reason);
    case TESSIVANE_FAILED_UNSUPPORTED:
      ThrowPictureFailure(PictureFailure::kNotAPicture, reason, detail);
    case TESSIVANE_FAILED_TOO_LARGE:
      ThrowPictureFailure(PictureFailure::kTooLarge, reason);
    case TESSIVANE_FAILED_MEMORY:
      ThrowPictureFailure(PictureFailure::kOutOfMemory, reason);
    default:
      ThrowPictureFailure(PictureFailure::kDamaged, reason, detail);
  }
}

std::vector<uint8_t> ReadHead(PictureSource& source, size_t count) {
  std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(count, source.Size())));
  size_t done = 0;
  while (done < head.size()) {
    const size_t n = source.ReadAt(done, head.data() + done, head.size() - done);
    if (n == 0) break;
    done += n;
  }
  head.resize(done);
  return head;
}

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
  if (width <= 0 || height <= 0) throw PictureError(PictureFailure::kDamaged, "picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > limits.maxPixels)
    throw PictureError(PictureFailure::kTooLarge, "picture is too large");
}

// The formats are tried in the order BMP, JPEG, PNG. Each decoder refuses
// at once a file without its signature, so going by the first bytes gives
// the same outcome as trying them in turn, with the most telling error.
Bitmap DecodePicture(PictureSource& source, const PictureLimits& limits) {
  try {
    const std::vector<uint8_t> head = ReadHead(source, kSignatureBytes);
    if (HasBmpSignature(head.data(), head.size())) return DecodeBmp(source, limits);
    if (HasJpegSignature(head.data(), head.size())) return DecodeJpeg(source, limits);
    if (HasPngSignature(head.data(), head.size())) return DecodePng(source, limits);
  } catch (const std::bad_alloc&) {
    throw PictureOutOfMemory("not enough memory for the picture");
  } catch (const std::length_error&) {
    throw PictureOutOfMemory("picture is too large for the memory");
  }
  throw PictureError(PictureFailure::kNotAPicture, "not a BMP, JPEG or PNG picture");
}

Bitmap DecodePicture(const uint8_t* data, size_t size, const PictureLimits& limits) {
  MemoryPictureSource source(data, size);
  return DecodePicture(source, limits);
}

Bitmap LoadPicture(const std::string& path) {
  ReadOnlyFile file;
  switch (file.Open(path, kMaxPictureFileBytes)) {
    case ReadFileResult::kOk:
      break;
    case ReadFileResult::kCannotOpen:
      throw PictureError(PictureFailure::kCannotOpen, "cannot open " + path);
    case ReadFileResult::kNotAFile:
      throw PictureError(PictureFailure::kCannotOpen, path + " is not a file");
    case ReadFileResult::kTooLarge:
      throw PictureError(PictureFailure::kTooLarge, path + " is too large for a picture");
    case ReadFileResult::kReadError:
      throw PictureError(PictureFailure::kCannotOpen, "cannot read " + path);
  }
  FilePictureSource source(file);
  return DecodePicture(source);
}

}  // namespace tessivane
