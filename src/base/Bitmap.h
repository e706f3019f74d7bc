// The pictures the pattern pipeline works on (source, piece, tile): 24 bits
// per pixel, rows from the top, bytes blue, green, red. Rows are padded to
// a multiple of four bytes, so the pixel buffer can be painted as a
// top-down DIB without a copy. Why a second type: the methods' arithmetic
// and the files are 24-bit, the display 32-bit (FrameBitmap), and the
// conversion happens once, on the tile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tessivane {

class Bitmap {
public:
  Bitmap() = default;
  Bitmap(int width, int height) { SetSize(width, height); }
  Bitmap(const Bitmap&) = default;
  Bitmap& operator=(const Bitmap&) = default;
  // A bitmap moved from is empty (0 x 0), never a size without pixels.
  Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }
  Bitmap& operator=(Bitmap&& other) noexcept {
    if (this != &other) {
      width_ = std::exchange(other.width_, 0);
      height_ = std::exchange(other.height_, 0);
      stride_ = std::exchange(other.stride_, 0);
      pixels_ = std::move(other.pixels_);
      other.pixels_.clear();
    }
    return *this;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes from one row to the next.
  size_t Stride() const { return stride_; }
  static size_t StrideFor(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

  // Resizes to width x height. Same size: nothing happens, the pixels stay
  // (the per-frame path relies on this to allocate nothing). Another size:
  // every pixel becomes black. Negative sizes, or a buffer that would not
  // fit in memory, throw std::length_error.
  void SetSize(int width, int height);

  uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  uint8_t* Data() { return pixels_.data(); }
  const uint8_t* Data() const { return pixels_.data(); }

  // Sets every pixel to one colour.
  void Fill(uint8_t blue, uint8_t green, uint8_t red);

  // The colour at (x, y) as 0xRRGGBB; handy in tests and small tools.
  uint32_t PixelRgb(int x, int y) const;
  void SetPixelRgb(int x, int y, uint32_t rgb);

  friend bool operator==(const Bitmap& a, const Bitmap& b);

private:
  int width_ = 0;
  int height_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> pixels_;
};

// Largest pixel buffer a bitmap or a frame may hold (1 GiB); larger
// requests are refused before any allocation.
inline constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 30;

// The part of a w x h block, copied from (sx, sy) of a srcW x srcH picture
// to (dx, dy) of a dstW x dstH one, that lies inside both: block-relative
// columns x0..x1 and rows y0..y1 (exclusive). False when nothing is left.
struct ClippedBlock {
  int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
bool ClipBlock(int dstW, int dstH, int dx, int dy, int srcW, int srcH, int sx, int sy, int w, int h,
               ClippedBlock& out);

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst. Parts of the
// block that lie outside either bitmap are clipped: nothing outside src is
// read and nothing outside dst is written. src and dst may be the same
// bitmap when the blocks do not overlap.
void CopyRect(Bitmap& dst, int dx, int dy, const Bitmap& src, int sx, int sy, int w, int h);

}  // namespace tessivane
