#include "base/FrameBitmap.h"

#include <algorithm>
#include <stdexcept>

namespace tessivane {

void FrameBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (width < 0 || height < 0) throw std::length_error("frame size is negative");
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (pixels * kBytesPerPixel > kMaxPixelBytes) throw std::length_error("frame is too large");
  pixels_.assign(static_cast<size_t>(pixels), 0);
  width_ = width;
  height_ = height;
}

void ConvertRect(FrameBitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h) {
  ClippedBlock b;
  if (!ClipBlock(dst.Width(), dst.Height(), dx, dy, src.Width(), src.Height(), sx, sy, w, h, b)) return;
  const int64_t n = b.x1 - b.x0;
  for (int64_t y = b.y0; y < b.y1; ++y) {
    const uint8_t* from = src.Row(static_cast<int>(sy + y)) + (sx + b.x0) * 3;
    uint32_t* to = dst.Row(static_cast<int>(dy + y)) + (dx + b.x0);
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
