// Paints frames into an X window: through a shared-memory image when the
// server offers the MIT-SHM extension (and it works for this connection),
// through plain image transfers otherwise. A frame in the server's own
// 32-bit format (a 24-bit TrueColor visual, blue in the lowest byte) goes
// out as it is; any other visual gets each pixel converted into an image
// of its format.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

#include "base/FrameBitmap.h"

namespace tessivane::x11 {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

class XFramePainter {
public:
  // `sharedMemory` false keeps to plain image transfers.
  XFramePainter(Display* display, Window window, bool sharedMemory);
  ~XFramePainter();
  XFramePainter(const XFramePainter&) = delete;
  XFramePainter& operator=(const XFramePainter&) = delete;

  // Draws the frame at (0, 0); the frame's pixels may change once it
  // returns. Allocates nothing unless the frame's size changed since the
  // last one (but libxcb allocates the server's answer to the shared-memory
  // paint's sync).
  void Paint(const FrameBitmap& frame);
  bool UsesSharedMemory() const { return shm_ != nullptr; }
  // Whether frames go out without a conversion.
  bool DirectFormat() const { return direct_; }

private:
  struct SharedImage;
  struct ImageDeleter {
    void operator()(XImage* image) const;
  };
  void MakeImages(const FrameBitmap& frame);
  void Convert(const FrameBitmap& frame, XImage* image) const;

  Display* display_;
  Window window_;
  Visual* visual_;
  int depth_;
  GC gc_;
  bool direct_ = false;
  bool wantShm_;
  // The plain image: over the frame's own pixels when the format is
  // direct, with a buffer of its own for a conversion.
  std::unique_ptr<XImage, ImageDeleter> image_;
  std::unique_ptr<char[]> buffer_;
  std::unique_ptr<SharedImage> shm_;
  const void* frameData_ = nullptr;  // what image_ was made for
  int width_ = 0, height_ = 0;
  // Where each colour lands in a pixel of another format.
  struct Channel {
    int shift = 0, bits = 0;
  } red_, green_, blue_;
  unsigned long opaque_ = 0;  // bits of the depth outside the colours (alpha)
};

}  // namespace tessivane::x11
