#include "base/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tessivane {

namespace {
// Largest pixel buffer a bitmap may hold (1 GiB); larger requests are
// refused before any allocation.
constexpr uint64_t kMaxBytes = uint64_t{1} << 30;
}  // namespace

void Bitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0) throw std::length_error("bitmap size is negative");
  uint64_t stride = StrideFor(width);
  if (stride * static_cast<uint64_t>(height) > kMaxBytes)
    throw std::length_error("bitmap is too large");
  pixels_.assign(static_cast<size_t>(stride * static_cast<uint64_t>(height)), 0);
  width_ = width;
  height_ = height;
  stride_ = static_cast<size_t>(stride);
}

void Bitmap::Fill(uint8_t blue, uint8_t green, uint8_t red) {
  for (int y = 0; y < height_; ++y) {
    uint8_t* p = Row(y);
    for (int x = 0; x < width_; ++x) {
      p[3 * x] = blue;
      p[3 * x + 1] = green;
      p[3 * x + 2] = red;
    }
  }
}

uint32_t Bitmap::PixelRgb(int x, int y) const {
  const uint8_t* p = Row(y) + 3 * x;
  return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

void Bitmap::SetPixelRgb(int x, int y, uint32_t rgb) {
  uint8_t* p = Row(y) + 3 * x;
  p[0] = static_cast<uint8_t>(rgb);
  p[1] = static_cast<uint8_t>(rgb >> 8);
  p[2] = static_cast<uint8_t>(rgb >> 16);
}

bool operator==(const Bitmap& a, const Bitmap& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  size_t rowBytes = static_cast<size_t>(a.width_) * 3;
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), rowBytes) != 0) return false;
  return true;
}

void CopyRect(Bitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h) {
  // Clip against the source, then the destination, moving both origins.
  int64_t x0 = 0, y0 = 0, x1 = w, y1 = h;  // block-relative bounds
  x0 = std::max<int64_t>(x0, std::max<int64_t>(-int64_t{sx}, -int64_t{dx}));
  y0 = std::max<int64_t>(y0, std::max<int64_t>(-int64_t{sy}, -int64_t{dy}));
  x1 = std::min<int64_t>(x1, std::min<int64_t>(int64_t{src.Width()} - sx, int64_t{dst.Width()} - dx));
  y1 = std::min<int64_t>(y1, std::min<int64_t>(int64_t{src.Height()} - sy, int64_t{dst.Height()} - dy));
  if (x1 <= x0 || y1 <= y0) return;
  size_t bytes = static_cast<size_t>(x1 - x0) * 3;
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* from = src.Row(static_cast<int>(sy + y)) + (sx + x0) * 3;
    uint8_t* to = dst.Row(static_cast<int>(dy + y)) + (dx + x0) * 3;
    std::memmove(to, from, bytes);
  }
}

}  // namespace tessivane
