#include "saver/SaverRun.h"

#include <utility>

namespace tessivane {

struct SaverRun::Step {
  explicit Step(SaverRun& run) : run_(run) { ++run_.steps_; }
  ~Step() { --run_.steps_; }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;

private:
  SaverRun& run_;
};

SaverRun::SaverRun(FrameLoop& loop, ArmTimer arm, PaintTile paint)
    : loop_(loop), arm_(std::move(arm)), paint_(std::move(paint)) {}

SaverRun::~SaverRun() = default;

void SaverRun::Arm(Arming arming, uint32_t ms) {
  interval_ = arming == Arming::kStop ? 0 : ms;
  arm_(arming, interval_);
}

void SaverRun::Start(Point size) {
  if (ended_) return;
  Step step(*this);
  if (loop_.Activate(size)) Arm(Arming::kFirstFrame, FrameLoop::kFirstFrameMs);
}

void SaverRun::Tick(Point size) {
  Arm(Arming::kStop, 0);
  if (ended_) return;
  Step step(*this);
  if (!loop_.FramesReady()) {
    loop_.SwitchPictureIfReady(size);  // a first picture that fails gives way to the random one
    if (!loop_.FramesReady()) return;
  }
  loop_.MakeFrame();
  paint_(*loop_.FrameComposer());
  const uint32_t interval = loop_.FinishFrame(size);
  Arm(interval == 0 ? Arming::kStop : Arming::kNextFrame, interval);
}

void SaverRun::Resize(Point size) {
  if (!ended_) loop_.Resize(size);
}

void SaverRun::PictureReady(Point size) {
  if (ended_ || steps_ != 0) return;
  Step step(*this);
  if (!loop_.FramesReady()) {
    Arm(Arming::kStop, 0);
    loop_.SwitchPictureIfReady(size);
    if (loop_.FramesReady()) Arm(Arming::kFirstFrame, FrameLoop::kFirstFrameMs);
    return;
  }
  const uint32_t interval = interval_;
  if (interval == 0) return;
  Arm(Arming::kStop, 0);
  loop_.SwitchPictureIfReady(size);
  Arm(Arming::kResume, interval);
}

void SaverRun::End() {
  if (ended_) return;
  ended_ = true;
  Arm(Arming::kStop, 0);
}

}  // namespace tessivane
