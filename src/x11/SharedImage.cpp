#include "x11/SharedImage.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace tessivane::x11 {
namespace {

// Set by the handler while a shared-memory attach is tried.
bool attachFailed = false;
int CatchAttachError(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

}  // namespace

SharedImage::~SharedImage() {
  if (attached_) {
    XShmDetach(display_, &info_);
    XSync(display_, False);
  }
  if (info_.shmaddr && info_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(info_.shmaddr);
  if (image_) {
    image_->data = nullptr;
    XDestroyImage(image_);
  }
}

std::unique_ptr<SharedImage> SharedImage::Make(Display* display, Visual* visual, int depth, int width,
                                               int height) {
  std::unique_ptr<SharedImage> s(new SharedImage(display));
  s->image_ = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &s->info_,
                              static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!s->image_) return nullptr;
  size_t bytes = static_cast<size_t>(s->image_->bytes_per_line) * static_cast<size_t>(height);
  s->info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (s->info_.shmid < 0) return nullptr;
  s->info_.shmaddr = s->image_->data = static_cast<char*>(shmat(s->info_.shmid, nullptr, 0));
  s->info_.readOnly = True;
  if (s->info_.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(s->info_.shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  attachFailed = false;
  XErrorHandler previous = XSetErrorHandler(CatchAttachError);
  bool sent = XShmAttach(display, &s->info_);
  XSync(display, False);
  XSetErrorHandler(previous);
  shmctl(s->info_.shmid, IPC_RMID, nullptr);
  if (!sent || attachFailed) return nullptr;
  s->attached_ = true;
  return s;
}

}  // namespace tessivane::x11
