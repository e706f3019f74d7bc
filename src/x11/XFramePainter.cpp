#include "x11/XFramePainter.h"

#include <X11/Xutil.h>

#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tessivane::x11 {

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

XFramePainter::XFramePainter(Display* display, Window window, bool sharedMemory, bool showFps)
    : display_(display), window_(window), wantShm_(sharedMemory) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) throw std::runtime_error("the window is gone");
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  if (visual_->c_class != TrueColor && visual_->c_class != DirectColor)
    throw std::runtime_error("the window's visual is not TrueColor; Tessivane paints only true colours");
  copyGc_ = XCreateGC(display, window, 0, nullptr);
  XGCValues fill{};
  fill.fill_style = FillTiled;
  fill.ts_x_origin = 0;
  fill.ts_y_origin = 0;
  fillGc_ = XCreateGC(display, window, GCFillStyle | GCTileStipXOrigin | GCTileStipYOrigin, &fill);
  auto [rs, rb] = PlaceOf(visual_->red_mask);
  auto [gs, gb] = PlaceOf(visual_->green_mask);
  auto [bs, bb] = PlaceOf(visual_->blue_mask);
  red_ = {rs, rb};
  green_ = {gs, gb};
  blue_ = {bs, bb};
  unsigned long all = depth_ >= 32 ? ~0UL & 0xFFFFFFFFUL : (1UL << depth_) - 1;
  opaque_ = all & ~(visual_->red_mask | visual_->green_mask | visual_->blue_mask);
  wantShm_ = wantShm_ && XShmQueryExtension(display);
  if (showFps) {
    fps_ = std::make_unique<FpsMeter>();
    font_ = XLoadQueryFont(display, "fixed");
    XGCValues text{};
    text.foreground = opaque_ | visual_->red_mask | visual_->green_mask | visual_->blue_mask;  // white
    text.background = opaque_;                                                                 // black
    unsigned long mask = GCForeground | GCBackground;
    if (font_) {
      text.font = font_->fid;
      mask |= GCFont;
    }
    textGc_ = XCreateGC(display, window, mask, &text);
    fontLoaded_ = font_ != nullptr;
    if (!font_) font_ = XQueryFont(display, XGContextFromGC(textGc_));  // the server's default font
  }
}

XFramePainter::~XFramePainter() {
  shm_.reset();
  image_.reset();
  if (pixmap_) XFreePixmap(display_, pixmap_);
  if (textGc_) XFreeGC(display_, textGc_);
  if (font_ && fontLoaded_) XFreeFont(display_, font_);
  if (font_ && !fontLoaded_) XFreeFontInfo(nullptr, font_, 0);
  XFreeGC(display_, fillGc_);
  XFreeGC(display_, copyGc_);
}

void XFramePainter::MakeImages(const FrameBitmap& tile) {
  const int w = tile.Width(), h = tile.Height();
  shm_.reset();
  image_.reset();
  buffer_.reset();
  if (pixmap_) XFreePixmap(display_, pixmap_);
  pixmap_ = 0;
  width_ = height_ = 0;
  pixmap_ = XCreatePixmap(display_, window_, static_cast<unsigned>(w), static_cast<unsigned>(h),
                          static_cast<unsigned>(depth_));
  // The tile's pixels as an image: whether the server reads them as they are.
  image_.reset(XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                            reinterpret_cast<char*>(const_cast<uint8_t*>(tile.Data())),
                            static_cast<unsigned>(w), static_cast<unsigned>(h), 32,
                            static_cast<int>(tile.Stride())));
  if (!image_) throw std::bad_alloc();
  direct_ = depth_ == 24 && image_->bits_per_pixel == 32 && image_->byte_order == LSBFirst &&
            image_->bytes_per_line == static_cast<int>(tile.Stride()) && visual_->red_mask == 0xFF0000 &&
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
  tileData_ = tile.Data();
  width_ = w;
  height_ = h;
}

void XFramePainter::Convert(const FrameBitmap& tile, XImage* image) const {
  if (direct_) {
    for (int y = 0; y < tile.Height(); ++y)
      std::memcpy(image->data + static_cast<size_t>(y) * image->bytes_per_line, tile.Row(y), tile.Stride());
    return;
  }
  auto place = [](uint32_t value, Channel c) -> unsigned long {
    return c.bits >= 8 ? static_cast<unsigned long>(value) << (c.shift + c.bits - 8)
                       : static_cast<unsigned long>(value >> (8 - c.bits)) << c.shift;
  };
  for (int y = 0; y < tile.Height(); ++y) {
    const uint32_t* row = tile.Row(y);
    for (int x = 0; x < tile.Width(); ++x) {
      uint32_t p = row[x];
      XPutPixel(
          image, x, y,
          opaque_ | place((p >> 16) & 0xFF, red_) | place((p >> 8) & 0xFF, green_) | place(p & 0xFF, blue_));
    }
  }
}

void XFramePainter::Paint(const FrameBitmap& tile, int width, int height) {
  if (tile.Empty()) return;
  if (tile.Width() != width_ || tile.Height() != height_ || (direct_ && !shm_ && tile.Data() != tileData_))
    MakeImages(tile);
  const unsigned w = static_cast<unsigned>(width_), h = static_cast<unsigned>(height_);
  if (shm_) {
    Convert(tile, shm_->Image());
    XShmPutImage(display_, pixmap_, copyGc_, shm_->Image(), 0, 0, 0, 0, w, h, False);
    // The server has read the segment once it answers: the next tile may
    // write it again. The sync comes before the fill, so the server fills
    // the window while the next frame is made. (The answer is the one
    // allocation of a frame, inside libxcb.)
    XSync(display_, False);
  } else {
    // XPutImage has written the pixels to the connection when it returns.
    if (!direct_) Convert(tile, image_.get());
    XPutImage(display_, pixmap_, copyGc_, image_.get(), 0, 0, 0, 0, w, h);
  }
  if (fps_) fps_->Frame();
  Repaint(width, height);
}

void XFramePainter::Repaint(int width, int height) {
  if (!pixmap_ || width <= 0 || height <= 0) return;
  // Set again every time: the server may keep what a tile held when it was
  // set, and the pixmap's pixels have changed since.
  XSetTile(display_, fillGc_, pixmap_);
  XFillRectangle(display_, window_, fillGc_, 0, 0, static_cast<unsigned>(width),
                 static_cast<unsigned>(height));
  if (fps_) DrawFps(height);
  XFlush(display_);
}

void XFramePainter::DrawFps(int height) {
  if (!font_) return;
  const int lineHeight = font_->ascent + font_->descent;
  const int margin = 4;
  for (int i = 0; i < FpsMeter::kLines; ++i) {
    const int baseline = height - margin - (FpsMeter::kLines - 1 - i) * lineHeight - font_->descent;
    XDrawImageString(display_, window_, textGc_, margin, baseline, fps_->Line(i), fps_->Length(i));
  }
}

}  // namespace tessivane::x11
