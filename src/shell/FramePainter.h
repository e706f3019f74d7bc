// Paints the composer's frame on a window's DC: one SetDIBitsToDevice per
// call from a top-down 32-bit DIB header kept between calls. The frame is
// already in the display's format (blue, green, red, unused), so the paint
// is a straight copy: nothing is converted or allocated, and no GDI object
// is made.
#pragma once
#include <windows.h>

#include "base/FrameBitmap.h"

namespace tessivane {

class FramePainter {
public:
  FramePainter();
  // Draws `image` unscaled with its top-left corner at (0, 0) of dc.
  // An empty image draws nothing.
  void Paint(HDC dc, const FrameBitmap& image);

private:
  BITMAPINFO info_{};
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
