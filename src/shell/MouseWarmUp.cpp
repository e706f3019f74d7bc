#include "shell/MouseWarmUp.h"

namespace tessivane {

bool MouseWarmUp::Tick() {
  if (MouseTicks >= kReadyTicks) return false;
  ++MouseTicks;
  return true;
}

MouseWarmUp::Action MouseWarmUp::Moved(bool passwordOk, Point p) {
  if (!passwordOk) {
    MouseTicks = 3;
    return Action::RestartTimer;
  }
  if (MousePos == Point{-1, -1}) {
    MousePos = p;
    return Action::None;
  }
  return p == MousePos ? Action::None : Action::Close;
}

}  // namespace tessivane
