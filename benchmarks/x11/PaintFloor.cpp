// The floor of tessivane's display path, a measurement, not a test.
//
//   tessivane_x11_paint_floor [--no-shm] [--seconds S]
//
// Shows a finished 32-bit picture of the screen's size on the root window
// of $DISPLAY (a 24-bit TrueColor screen) on tessivane's frame timer rule:
// paint, then wait the shortest frame interval, 10 ms. The picture is ready
// in a shared-memory image, put with XShmPutImage and a sync, where the
// server offers MIT-SHM (unless --no-shm), else sent with XPutImage.
// Nothing else runs: its CPU use and the X server's are what merely
// showing a picture of the screen's size costs, the floor that
// scripts/frame-cost-x11 sets tessivane's against. It runs for S seconds
// (default: until it is killed).
#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "../FloorPicture.h"
#include "base/FrameBitmap.h"
#include "x11/SharedImage.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace tessivane;
using tessivane::x11::SharedImage;

constexpr long kFrameMs = 10;  // tessivane's shortest frame interval, its default

int Fail(const char* what) {
  std::fprintf(stderr, "tessivane_x11_paint_floor: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool shm = true;
  double seconds = 0;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--no-shm")
      shm = false;
    else if (a == "--seconds" && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      return Fail("usage: tessivane_x11_paint_floor [--no-shm] [--seconds S]");
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return Fail("cannot open the display");
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  XGetWindowAttributes(display, root, &attributes);
  const int w = attributes.width, h = attributes.height;
  if (attributes.depth != 24) return Fail("the screen must be 24 bits deep");
  FrameBitmap picture(w, h);
  FillFloorPicture(picture);
  const GC gc = XCreateGC(display, root, 0, nullptr);
  std::unique_ptr<SharedImage> shared;
  if (shm && XShmQueryExtension(display))
    shared = SharedImage::Make(display, attributes.visual, attributes.depth, w, h);
  XImage* image = shared ? shared->Image()
                         : XCreateImage(display, attributes.visual, 24, ZPixmap, 0,
                                        reinterpret_cast<char*>(picture.Data()), static_cast<unsigned>(w),
                                        static_cast<unsigned>(h), 32, static_cast<int>(picture.Stride()));
  if (!image || image->bits_per_pixel != 32) return Fail("no 32-bit image for this screen");
  if (shared) std::memcpy(image->data, picture.Data(), picture.Stride() * static_cast<size_t>(h));

  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  const timespec pause{0, kFrameMs * 1000000};
  while (seconds <= 0 || std::chrono::steady_clock::now() < end) {
    if (shared) {
      XShmPutImage(display, root, gc, image, 0, 0, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h),
                   False);
      XSync(display, False);
    } else {
      XPutImage(display, root, gc, image, 0, 0, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
      XFlush(display);
    }
    nanosleep(&pause, nullptr);
  }
  if (!shared) {
    image->data = nullptr;
    XDestroyImage(image);
  }
  shared.reset();
  XFreeGC(display, gc);
  XCloseDisplay(display);
  return 0;
}
