// The screen-sized frame: 32 bits per pixel, bytes blue, green, red and one
// unused byte (always 0), rows from the top with no padding. That is the
// display's own format, so a window paints it as a top-down 32-bit DIB in
// one straight copy, without a conversion. Why not Bitmap: its 24-bit rows
// would need a conversion on every paint of the screen-sized frame.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/Bitmap.h"

namespace tessivane {

static_assert(std::endian::native == std::endian::little,
              "a frame pixel is one word, blue in its lowest byte");

class FrameBitmap {
public:
  static constexpr int kBytesPerPixel = 4;

  FrameBitmap() = default;
  FrameBitmap(int width, int height) { SetSize(width, height); }
  FrameBitmap(const FrameBitmap&) = default;
  FrameBitmap& operator=(const FrameBitmap&) = default;
  // A frame moved from is empty (0 x 0), never a size without pixels.
  FrameBitmap(FrameBitmap&& other) noexcept { *this = std::move(other); }
  FrameBitmap& operator=(FrameBitmap&& other) noexcept {
    if (this != &other) {
      width_ = std::exchange(other.width_, 0);
      height_ = std::exchange(other.height_, 0);
      pixels_ = std::move(other.pixels_);
      other.pixels_.clear();
    }
    return *this;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes from one row to the next: four per pixel.
  size_t Stride() const { return static_cast<size_t>(width_) * kBytesPerPixel; }

  // Resizes to width x height. Same size: nothing happens, the pixels stay
  // (the per-frame path relies on this to allocate nothing). Another size:
  // every pixel becomes black. Negative sizes, or a buffer that would not
  // fit in memory, throw std::length_error.
  void SetSize(int width, int height);

  uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint8_t* Data() { return reinterpret_cast<uint8_t*>(pixels_.data()); }
  const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(pixels_.data()); }

  // The colour at (x, y) as 0xRRGGBB.
  uint32_t PixelRgb(int x, int y) const { return Row(y)[x] & 0xFFFFFF; }

  friend bool operator==(const FrameBitmap& a, const FrameBitmap& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
  }

private:
  int width_ = 0;
  int height_ = 0;
  // One 32-bit word per pixel, blue in the lowest byte: the byte order
  // blue, green, red, unused on the little-endian machines Windows runs on.
  std::vector<uint32_t> pixels_;
};

// Writes the w x h block at (sx, sy) of a 24-bit bitmap to (dx, dy) of the
// frame, one 32-bit word per pixel with the unused byte 0. Clipped like
// CopyRect: nothing outside either picture is read or written.
void ConvertRect(FrameBitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h);

// The frame as a 24-bit bitmap of the same colours (for files and tests);
// `out` keeps its buffer when it already has the frame's size.
void CopyFrameToBitmap(const FrameBitmap& frame, Bitmap& out);

}  // namespace tessivane
