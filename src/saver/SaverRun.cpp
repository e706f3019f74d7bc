#include "saver/SaverRun.h"

#include <exception>
#include <utility>

namespace tessivane {

struct SaverRun::Step {
  explicit Step(SaverRun& run) : run_(run), failures_(std::uncaught_exceptions()) { ++run_.steps_; }
  ~Step() {
    --run_.steps_;
    if (std::uncaught_exceptions() > failures_) run_.ended_ = true;  // a failure ends the frames
  }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;

private:
  SaverRun& run_;
  int failures_;
};

SaverRun::SaverRun(FrameLoop& loop, PaintTile paint) : loop_(loop), paint_(std::move(paint)) {}

SaverRun::~SaverRun() = default;

std::optional<uint32_t> SaverRun::Start(Point size) {
  if (ended_) return std::nullopt;
  Step step(*this);
  if (!loop_.Activate(size)) return std::nullopt;
  return FrameLoop::kFirstFrameMs;
}

uint32_t SaverRun::Tick(Point size) {
  if (ended_) return 0;
  Step step(*this);
  if (!loop_.FramesReady()) {
    loop_.SwitchPictureIfReady(size);  // a first picture that fails gives way to the random one
    if (!loop_.FramesReady()) return 0;
  }
  loop_.MakeFrame();
  paint_(*loop_.FrameComposer());
  return loop_.FinishFrame(size);
}

void SaverRun::Resize(Point size) {
  if (!ended_) loop_.Resize(size);
}

std::optional<uint32_t> SaverRun::PictureReady(Point size) {
  if (ended_ || steps_ != 0) return std::nullopt;
  Step step(*this);
  if (loop_.FramesReady()) {
    loop_.SwitchPictureIfReady(size);
    return std::nullopt;
  }
  loop_.SwitchPictureIfReady(size);
  if (!loop_.FramesReady()) return std::nullopt;
  return FrameLoop::kFirstFrameMs;
}

void SaverRun::SettlePictures(Point size) {
  while (!ended_ && loop_.PictureChangePending()) {
    loop_.WaitForPicture();
    PictureReady(size);
  }
}

}  // namespace tessivane
