// What the frame loop's tests look at and change beyond what the loop shows.
#pragma once
#include "saver/FrameLoop.h"

namespace tessivane {

class FrameLoopTestView {
public:
  explicit FrameLoopTestView(FrameLoop& loop) : loop_(loop) {}
  RunConfig& Settings() { return loop_.config_; }
  const Bitmap& SourceBitmap() const { return loop_.sourceBitmap_; }

private:
  FrameLoop& loop_;
};

}  // namespace tessivane
