// One run of the kaleidoscope as a front end drives it: the saver window,
// the X11 program and the renderer call these few methods and keep no
// frame protocol of their own. Like a hack's draw, each call that may move
// the frame timer returns what the timer does next: a delay in ms until
// the next Tick (0: no tick, the frames wait for a picture, stand still or
// have ended), or nothing when the timer stays as it is. The front end
// stops its timer before Tick, so that frames never overlap (a message
// loop inside a step ticks nothing) and a failure leaves it stopped. A
// failure leaves the call as it came, and the run's frames end with it: a
// unit error as UnitFailed, shown by the front end in its own way
// (ReportOf in base/Errors.h).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "base/Point.h"
#include "pattern/Composer.h"
#include "saver/FrameLoop.h"

namespace tessivane {

class SaverRun {
public:
  // Paints a new tile (and, where the composer makes them, a whole frame).
  using PaintTile = std::function<void(const Composer& composer)>;

  SaverRun(FrameLoop& loop, PaintTile paint);
  ~SaverRun();
  SaverRun(const SaverRun&) = delete;
  SaverRun& operator=(const SaverRun&) = delete;

  // Sets the run up for a window of `size` on the first call, and returns
  // the delay to the first tick (FrameLoop::kFirstFrameMs); later calls
  // change nothing.
  std::optional<uint32_t> Start(Point size);
  // One tick of the frame timer: a frame is made and painted, unless the
  // first picture is still decoding. Returns the delay to the next tick
  // (the frame loop's interval; a front end that paces its frames itself
  // puts its own pace in place of a non-zero one).
  uint32_t Tick(Point size);
  // The window's size changed: the frame takes it at once.
  void Resize(Point size);
  // A listed folder or a decoded picture is ready (the front end's thread,
  // between two steps). Before the first frame the run switches to it and
  // the frames start: the delay to the first tick. While frames run, it is
  // switched to now and the timer goes on as it was; while a step is in
  // progress (a message loop inside it), or the frames are stopped, the
  // next frame's end picks it up.
  std::optional<uint32_t> PictureReady(Point size);
  // Waits for every folder listing and decode in progress and switches to
  // its picture (the renderer and measurements; the savers never wait).
  void SettlePictures(Point size);
  bool FramesReady() const { return loop_.FramesReady(); }
  // Stops the frames; no call after this one does anything.
  void End() { ended_ = true; }

private:
  struct Step;  // counts the steps in progress; a step that fails ends the frames

  FrameLoop& loop_;
  PaintTile paint_;
  // Steps in progress: an error box inside a step runs a nested message
  // loop, in which a picture notice must wait for the next frame's end.
  int steps_ = 0;
  bool ended_ = false;
};

}  // namespace tessivane
