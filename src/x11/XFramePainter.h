// Paints frames into an X window from their tile: the tile goes into a
// pixmap of its size, and one tiled fill with the tile's origin at the
// window's top-left lets the X server repeat it over the window, the same
// tiling as the composer's whole frame. So the work here does not grow with
// the window's area. The tile reaches the pixmap through a shared-memory
// image when the server offers the MIT-SHM extension (and it works for
// this connection), through a plain image transfer otherwise. A tile in
// the server's own 32-bit format (a 24-bit TrueColor visual, blue in the
// lowest byte) goes out as it is; any other visual gets each pixel
// converted into an image of its format.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

#include "base/FrameBitmap.h"
#include "x11/FpsMeter.h"
#include "x11/SharedImage.h"

namespace tessivane::x11 {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

class XFramePainter {
public:
  // `sharedMemory` false keeps to plain image transfers; `showFps` draws
  // the frame rate and the CPU load at the bottom-left corner.
  XFramePainter(Display* display, Window window, bool sharedMemory, bool showFps = false);
  ~XFramePainter();
  XFramePainter(const XFramePainter&) = delete;
  XFramePainter& operator=(const XFramePainter&) = delete;

  // Repeats `tile` over (0, 0)-(width, height) of the window, from its
  // top-left corner; the tile's pixels may change once it returns.
  // Allocates nothing unless the tile's size changed since the last one
  // (but libxcb allocates the server's answer to the shared-memory paint's
  // sync).
  void Paint(const FrameBitmap& tile, int width, int height);
  // Paints the last tile again over (0, 0)-(width, height) (an expose, a
  // new size); nothing before the first Paint.
  void Repaint(int width, int height);
  bool UsesSharedMemory() const { return shm_ != nullptr; }
  // Whether tiles go out without a conversion.
  bool DirectFormat() const { return direct_; }

private:
  struct ImageDeleter {
    void operator()(XImage* image) const;
  };
  void MakeImages(const FrameBitmap& tile);
  void Convert(const FrameBitmap& tile, XImage* image) const;
  void DrawFps(int height);

  Display* display_;
  Window window_;
  Visual* visual_;
  int depth_;
  GC copyGc_;  // puts the tile into the pixmap
  GC fillGc_;  // repeats the pixmap over the window
  Pixmap pixmap_ = 0;
  bool direct_ = false;
  bool wantShm_;
  // The plain image: over the tile's own pixels when the format is
  // direct, with a buffer of its own for a conversion.
  std::unique_ptr<XImage, ImageDeleter> image_;
  std::unique_ptr<char[]> buffer_;
  std::unique_ptr<SharedImage> shm_;
  const void* tileData_ = nullptr;  // what image_ was made for
  int width_ = 0, height_ = 0;      // the tile's
  // Where each colour lands in a pixel of another format.
  struct Channel {
    int shift = 0, bits = 0;
  } red_, green_, blue_;
  unsigned long opaque_ = 0;  // bits of the depth outside the colours (alpha)
  // The frame rate's text, its font and colours; fps_ is null without it.
  std::unique_ptr<FpsMeter> fps_;
  XFontStruct* font_ = nullptr;
  bool fontLoaded_ = false;  // font_ was loaded here, not the GC's default font queried
  GC textGc_ = nullptr;
};

}  // namespace tessivane::x11
