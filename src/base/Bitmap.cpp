#include "base/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tessivane {

void Bitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0) throw std::length_error("bitmap size is negative");
  uint64_t stride = StrideFor(width);
  if (stride * static_cast<uint64_t>(height) > kMaxPixelBytes) throw std::length_error("bitmap is too large");
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

bool ClipBlock(int dstW, int dstH, int dx, int dy, int srcW, int srcH, int sx, int sy, int w, int h,
               ClippedBlock& out) {
  // Clip against the source, then the destination, moving both origins.
  out.x0 = std::max<int64_t>(0, std::max<int64_t>(-int64_t{sx}, -int64_t{dx}));
  out.y0 = std::max<int64_t>(0, std::max<int64_t>(-int64_t{sy}, -int64_t{dy}));
  out.x1 = std::min<int64_t>(w, std::min<int64_t>(int64_t{srcW} - sx, int64_t{dstW} - dx));
  out.y1 = std::min<int64_t>(h, std::min<int64_t>(int64_t{srcH} - sy, int64_t{dstH} - dy));
  return out.x1 > out.x0 && out.y1 > out.y0;
}

void CopyRect(Bitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h) {
  ClippedBlock b;
  if (!ClipBlock(dst.Width(), dst.Height(), dx, dy, src.Width(), src.Height(), sx, sy, w, h, b)) return;
  size_t bytes = static_cast<size_t>(b.x1 - b.x0) * 3;
  for (int64_t y = b.y0; y < b.y1; ++y) {
    const uint8_t* from = src.Row(static_cast<int>(sy + y)) + (sx + b.x0) * 3;
    uint8_t* to = dst.Row(static_cast<int>(dy + y)) + (dx + b.x0) * 3;
    std::memmove(to, from, bytes);
  }
}

}  // namespace tessivane
