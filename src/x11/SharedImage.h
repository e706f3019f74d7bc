// A shared-memory image and its segment (MIT-SHM). The segment is marked
// for removal as soon as both sides have attached it, so it goes away with
// the process whatever way that ends.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <memory>

namespace tessivane::x11 {

class SharedImage {
public:
  // Null when the server cannot use it (a remote display, no segment).
  static std::unique_ptr<SharedImage> Make(Display* display, Visual* visual, int depth, int width,
                                           int height);
  ~SharedImage();
  SharedImage(const SharedImage&) = delete;
  SharedImage& operator=(const SharedImage&) = delete;

  // The image, whose data is the segment.
  XImage* Image() const { return image_; }

private:
  explicit SharedImage(Display* display) : display_(display) {}

  Display* display_;
  XShmSegmentInfo info_{};
  XImage* image_ = nullptr;
  bool attached_ = false;
};

}  // namespace tessivane::x11
