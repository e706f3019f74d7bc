#include "x11/XFramePainter.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tessivane::x11 {
namespace {

// Set by the handler while a shared-memory attach is tried.
bool attachFailed = false;
int CatchAttachError(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

}  // namespace

// A shared-memory image and its segment. The segment is marked for removal
// as soon as both sides have attached it, so it goes away with the process
// whatever way that ends.
struct XFramePainter::SharedImage {
  Display* display = nullptr;
  XShmSegmentInfo info{};
  XImage* image = nullptr;
  bool attached = false;

  ~SharedImage() {
    if (attached) {
      XShmDetach(display, &info);
      XSync(display, False);
    }
    if (info.shmaddr && info.shmaddr != reinterpret_cast<char*>(-1)) shmdt(info.shmaddr);
    if (image) {
      image->data = nullptr;
      XDestroyImage(image);
    }
  }

  // Null when the server cannot use it (a remote display, no segment).
  static std::unique_ptr<SharedImage> Make(Display* display, Visual* visual, int depth, int width,
                                           int height) {
    auto s = std::make_unique<SharedImage>();
    s->display = display;
    s->image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &s->info,
                               static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!s->image) return nullptr;
    size_t bytes = static_cast<size_t>(s->image->bytes_per_line) * static_cast<size_t>(height);
    s->info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (s->info.shmid < 0) return nullptr;
    s->info.shmaddr = s->image->data = static_cast<char*>(shmat(s->info.shmid, nullptr, 0));
    s->info.readOnly = True;
    if (s->info.shmaddr == reinterpret_cast<char*>(-1)) {
      shmctl(s->info.shmid, IPC_RMID, nullptr);
      return nullptr;
    }
    attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(CatchAttachError);
    bool sent = XShmAttach(display, &s->info);
    XSync(display, False);
    XSetErrorHandler(previous);
    shmctl(s->info.shmid, IPC_RMID, nullptr);
    if (!sent || attachFailed) return nullptr;
    s->attached = true;
    return s;
  }
};

void XFramePainter::ImageDeleter::operator()(XImage* image) const {
  image->data = nullptr;  // the frame's or buffer_'s pixels, not the image's
  XDestroyImage(image);
}

namespace {

// Where a channel mask puts its colour: the lowest bit and the width.
struct MaskPlace {
  int shift, bits;
};
MaskPlace PlaceOf(unsigned long mask) {
  if (mask == 0) return {0, 0};
  return {std::countr_zero(mask), std::popcount(mask)};
}

}  // namespace

XFramePainter::XFramePainter(Display* display, Window window, bool sharedMemory)
    : display_(display), window_(window), wantShm_(sharedMemory) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) throw std::runtime_error("the window is gone");
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  if (visual_->c_class != TrueColor && visual_->c_class != DirectColor)
    throw std::runtime_error("the window's visual is not TrueColor; Tessivane paints only true colours");
  gc_ = XCreateGC(display, window, 0, nullptr);
  auto [rs, rb] = PlaceOf(visual_->red_mask);
  auto [gs, gb] = PlaceOf(visual_->green_mask);
  auto [bs, bb] = PlaceOf(visual_->blue_mask);
  red_ = {rs, rb};
  green_ = {gs, gb};
  blue_ = {bs, bb};
  unsigned long all = depth_ >= 32 ? ~0UL & 0xFFFFFFFFUL : (1UL << depth_) - 1;
  opaque_ = all & ~(visual_->red_mask | visual_->green_mask | visual_->blue_mask);
  wantShm_ = wantShm_ && XShmQueryExtension(display);
}

XFramePainter::~XFramePainter() {
  shm_.reset();
  image_.reset();
  XFreeGC(display_, gc_);
}

void XFramePainter::MakeImages(const FrameBitmap& frame) {
  const int w = frame.Width(), h = frame.Height();
  shm_.reset();
  image_.reset();
  buffer_.reset();
  // The frame's pixels as an image: whether the server reads them as they are.
  image_.reset(XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                            reinterpret_cast<char*>(const_cast<uint8_t*>(frame.Data())),
                            static_cast<unsigned>(w), static_cast<unsigned>(h), 32,
                            static_cast<int>(frame.Stride())));
  if (!image_) throw std::bad_alloc();
  direct_ = depth_ == 24 && image_->bits_per_pixel == 32 && image_->byte_order == LSBFirst &&
            image_->bytes_per_line == static_cast<int>(frame.Stride()) && visual_->red_mask == 0xFF0000 &&
            visual_->green_mask == 0xFF00 && visual_->blue_mask == 0xFF;
  if (wantShm_) {
    shm_ = SharedImage::Make(display_, visual_, depth_, w, h);
    if (!shm_) wantShm_ = false;  // this connection cannot share memory: plain transfers from now on
  }
  if (!shm_ && !direct_) {
    image_.reset(XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                              static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0));
    if (!image_) throw std::bad_alloc();
    buffer_.reset(new char[static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(h)]);
    image_->data = buffer_.get();
  }
  frameData_ = frame.Data();
  width_ = w;
  height_ = h;
}

void XFramePainter::Convert(const FrameBitmap& frame, XImage* image) const {
  if (direct_) {
    for (int y = 0; y < frame.Height(); ++y)
      std::memcpy(image->data + static_cast<size_t>(y) * image->bytes_per_line, frame.Row(y), frame.Stride());
    return;
  }
  auto place = [](uint32_t value, Channel c) -> unsigned long {
    return c.bits >= 8 ? static_cast<unsigned long>(value) << (c.shift + c.bits - 8)
                       : static_cast<unsigned long>(value >> (8 - c.bits)) << c.shift;
  };
  for (int y = 0; y < frame.Height(); ++y) {
    const uint32_t* row = frame.Row(y);
    for (int x = 0; x < frame.Width(); ++x) {
      uint32_t p = row[x];
      XPutPixel(
          image, x, y,
          opaque_ | place((p >> 16) & 0xFF, red_) | place((p >> 8) & 0xFF, green_) | place(p & 0xFF, blue_));
    }
  }
}

void XFramePainter::Paint(const FrameBitmap& frame) {
  if (frame.Empty()) return;
  if (frame.Width() != width_ || frame.Height() != height_ ||
      (direct_ && !shm_ && frame.Data() != frameData_))
    MakeImages(frame);
  const unsigned w = static_cast<unsigned>(width_), h = static_cast<unsigned>(height_);
  if (shm_) {
    Convert(frame, shm_->image);
    XShmPutImage(display_, window_, gc_, shm_->image, 0, 0, 0, 0, w, h, False);
    // The server has read the segment once it answers: the next frame may
    // write it again. (The answer is the one allocation of a frame, inside
    // libxcb.)
    XSync(display_, False);
  } else {
    // XPutImage has written the pixels to the connection when it returns.
    if (!direct_) Convert(frame, image_.get());
    XPutImage(display_, window_, gc_, image_.get(), 0, 0, 0, 0, w, h);
    XFlush(display_);
  }
}

}  // namespace tessivane::x11
