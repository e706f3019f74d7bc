#include "base/FrameBitmap.h"

#include <algorithm>
#include <stdexcept>

namespace tessivane {

namespace {
// Largest pixel buffer a frame may hold (1 GiB), as for Bitmap.
constexpr uint64_t kMaxBytes = uint64_t{1} << 30;
}  // namespace

void FrameBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0) throw std::length_error("frame size is negative");
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (pixels * kBytesPerPixel > kMaxBytes) throw std::length_error("frame is too large");
  pixels_.assign(static_cast<size_t>(pixels), 0);
  width_ = width;
  height_ = height;
}

void ConvertRect(FrameBitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h) {
  int64_t x0 = 0, y0 = 0, x1 = w, y1 = h;  // block-relative bounds
  x0 = std::max<int64_t>(x0, std::max<int64_t>(-int64_t{sx}, -int64_t{dx}));
  y0 = std::max<int64_t>(y0, std::max<int64_t>(-int64_t{sy}, -int64_t{dy}));
  x1 = std::min<int64_t>(x1, std::min<int64_t>(int64_t{src.Width()} - sx, int64_t{dst.Width()} - dx));
  y1 = std::min<int64_t>(y1, std::min<int64_t>(int64_t{src.Height()} - sy, int64_t{dst.Height()} - dy));
  if (x1 <= x0 || y1 <= y0) return;
  const int64_t n = x1 - x0;
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* from = src.Row(static_cast<int>(sy + y)) + (sx + x0) * 3;
    uint32_t* to = dst.Row(static_cast<int>(dy + y)) + (dx + x0);
    for (int64_t x = 0; x < n; ++x, from += 3)
      to[x] = uint32_t{from[0]} | (uint32_t{from[1]} << 8) | (uint32_t{from[2]} << 16);
  }
}

void CopyFrameToBitmap(const FrameBitmap& frame, Bitmap& out) {
  out.SetSize(frame.Width(), frame.Height());
  for (int y = 0; y < frame.Height(); ++y) {
    const uint32_t* from = frame.Row(y);
    uint8_t* to = out.Row(y);
    for (int x = 0; x < frame.Width(); ++x, to += 3) {
      to[0] = static_cast<uint8_t>(from[x]);
      to[1] = static_cast<uint8_t>(from[x] >> 8);
      to[2] = static_cast<uint8_t>(from[x] >> 16);
    }
  }
}

}  // namespace tessivane
