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

void SaverRun::Arm(uint32_t ms) {
  interval_ = ms;
  arm_(ms);
}

void SaverRun::Start(Point size) {
  if (ended_) return;
  Step step(*this);
  if (loop_.Activate(size)) Arm(FrameLoop::kFirstFrameMs);
}

void SaverRun::Tick(Point size) {
  Arm(0);
  if (ended_) return;
  Step step(*this);
  if (!loop_.FramesReady() && !loop_.SwitchPictureIfReady(size)) return;
  loop_.MakeFrame();
  paint_(*loop_.FrameComposer());
  Arm(loop_.FinishFrame(size));
}

void SaverRun::Resize(Point size) {
  if (!ended_) loop_.Resize(size);
}

void SaverRun::PictureReady(Point size) {
  if (ended_ || steps_ != 0) return;
  Step step(*this);
  if (!loop_.FramesReady()) {
    Arm(0);
    if (loop_.SwitchPictureIfReady(size)) Arm(FrameLoop::kFirstFrameMs);
    return;
  }
  const uint32_t interval = interval_;
  if (interval == 0) return;
  Arm(0);
  loop_.SwitchPictureIfReady(size);
  Arm(interval);
}

void SaverRun::End() {
  if (ended_) return;
  ended_ = true;
  Arm(0);
}

}  // namespace tessivane
