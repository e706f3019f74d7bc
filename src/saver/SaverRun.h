// One run of the kaleidoscope as a front end drives it: the saver window,
// the X11 program and the renderer call these few methods and keep no
// frame protocol of their own. The run owns the
// frame timer's state: it stops the timer before each step (so frames
// never overlap and an error leaves the timer stopped) and arms it again
// through the front end's `arm` with the interval to the next tick (0:
// stopped, waiting for the picture or ended). A failure leaves the call as
// it came, with the timer stopped: a unit error as UnitFailed, whose
// failure the front end shows in its own way (a box on Windows, a line on
// standard error on Linux and in the renderer).
#pragma once
#include <cstdint>
#include <functional>

#include "base/Point.h"
#include "pattern/Composer.h"
#include "saver/FrameLoop.h"

namespace tessivane {

class SaverRun {
public:
  // What the front end's frame timer is told: stop; tick `ms` from now
  // before the first frame, or after a frame (the frame loop's pace, which
  // a front end may replace by its own); or go on as before the stop, which
  // came only for a picture switch between two frames.
  enum class Arming { kStop, kFirstFrame, kNextFrame, kResume };
  // `ms` is 0 for kStop.
  using ArmTimer = std::function<void(Arming arming, uint32_t ms)>;
  // Paints a new tile (and, where the composer makes them, a whole frame).
  using PaintTile = std::function<void(const Composer& composer)>;

  SaverRun(FrameLoop& loop, ArmTimer arm, PaintTile paint);
  ~SaverRun();
  SaverRun(const SaverRun&) = delete;
  SaverRun& operator=(const SaverRun&) = delete;

  // Sets the run up for a window of `size` on the first call; later calls
  // do nothing. The first tick comes FrameLoop::kFirstFrameMs later.
  void Start(Point size);
  // One tick of the frame timer: a frame is made and painted, unless the
  // first picture is still decoding (the timer then waits for PictureReady).
  void Tick(Point size);
  // The window's size changed: the frame takes it at once.
  void Resize(Point size);
  // A decoded picture is ready (the front end's thread, between two
  // frames): the run switches to it. Before the first frame the frames then
  // start; while they run the timer keeps its interval; while they are
  // stopped (an error, a timer of interval 0) nothing happens now and the
  // next frame's end picks the picture up.
  void PictureReady(Point size);
  // Stops the frames; no call after this one does anything.
  void End();

  // The interval the timer runs at now; 0 when stopped.
  uint32_t Interval() const { return interval_; }

private:
  void Arm(Arming arming, uint32_t ms);
  struct Step;  // counts the steps in progress

  FrameLoop& loop_;
  ArmTimer arm_;
  PaintTile paint_;
  uint32_t interval_ = 0;
  // Steps in progress: an error box inside a step runs a nested message
  // loop, in which a picture notice must wait for the next frame's end.
  int steps_ = 0;
  bool ended_ = false;
};

}  // namespace tessivane
