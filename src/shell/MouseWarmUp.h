// When a mouse movement may end the saver. Portable state machine behind
// the saver window's mouse warm-up timer and its mouse-move handler.
//
// Mouse movement counts only from the fifth 200 ms tick on (about one
// second after start), so the events Windows sends while the window appears
// cannot end the run. The first movement after that only records where the
// mouse is; a later one ends the run when the position differs. A refused
// password check sets the counter back to 3: two more ticks of rest.
#pragma once
#include "base/Point.h"

namespace tessivane {

class MouseWarmUp {
public:
  static constexpr unsigned kIntervalMs = 200;  // the warm-up timer's interval
  static constexpr int kReadyTicks = 5;

  enum class Action {
    None,          // nothing to do
    RestartTimer,  // the password was refused: run the warm-up timer again at kIntervalMs
    Close,         // the mouse really moved: end the run
  };

  // One tick of the warm-up timer. False means: stop the timer now.
  bool Tick();

  // Whether a movement is looked at now (the password check comes first).
  bool Ready() const { return MouseTicks == kReadyTicks; }

  // A movement to p while Ready(), with the result of the password check.
  Action Moved(bool passwordOk, Point p);

  int MouseTicks = 0;
  Point MousePos{-1, -1};
};

}  // namespace tessivane
