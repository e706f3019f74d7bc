// Painting on a window's DC. FramePainter copies a whole frame, a top-down
// 32-bit DIB, with one SetDIBitsToDevice. TilePainter repeats a tile over
// the window with the GDI's own pattern fill, so no window-sized frame
// exists at all. Both take pictures in the display's format (blue, green,
// red, unused): nothing is converted.
#pragma once
#include <windows.h>

#include "base/FrameBitmap.h"
#include "base/ScopedWin.h"

namespace tessivane {

// The header of a top-down 32-bit DIB of width x height.
BITMAPINFO TopDownDib(int width, int height);

class FramePainter {
public:
  // Draws `image` unscaled with its top-left corner at (0, 0) of dc.
  // An empty image draws nothing.
  void Paint(HDC dc, const FrameBitmap& image);
};

// Paints a tile repeated over the rectangle (0, 0)-(width, height) of a DC,
// its top-left corner at (0, 0), exactly as Composer's Image repeats it.
// The tile goes into a 32-bit DIB section kept while the tile's size stays
// the same, and from there into a pattern brush, made once per tile: a
// brush holds the pixels its bitmap had when it was made, so a brush kept
// from an earlier tile would go on showing that tile. One PatBlt fills the
// rectangle.
class TilePainter {
public:
  // Paints `tile`; it becomes the tile that Repaint paints. An empty tile
  // paints nothing. Throws std::bad_alloc when the GDI cannot make the
  // bitmap or the brush.
  void Paint(HDC dc, const FrameBitmap& tile, int width, int height);
  // Paints the last tile again (a part of the window uncovered); nothing
  // before the first Paint.
  void Repaint(HDC dc, int width, int height) const;

private:
  ScopedGdiObject<HBITMAP> bitmap_;  // top-down, the tile's size
  void* bits_ = nullptr;             // bitmap_'s pixels
  int width_ = 0;
  int height_ = 0;
  ScopedGdiObject<HBRUSH> brush_;  // the last tile's pattern
};

// BeginPaint / EndPaint for one WM_PAINT.
class ScopedPaint {
public:
  explicit ScopedPaint(HWND wnd) : wnd_(wnd) { BeginPaint(wnd_, &paint_); }
  ~ScopedPaint() { EndPaint(wnd_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC dc() const { return paint_.hdc; }

private:
  HWND wnd_;
  PAINTSTRUCT paint_{};
};

}  // namespace tessivane
