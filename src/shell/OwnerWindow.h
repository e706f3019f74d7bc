// The program's hidden owner window: it carries the application title and
// owns the saver window, so the saver window itself never gets a taskbar
// button and the process has one place to show as "the application".
#pragma once
#include <windows.h>

#include "base/ScopedWin.h"

namespace tessivane {

class OwnerWindow {
public:
  OwnerWindow(HINSTANCE instance, const wchar_t* title);
  HWND Handle() const { return window_.get(); }

private:
  ScopedWindow window_;
};

}  // namespace tessivane
