// The window of the settings mode: for now a plain window captioned
// "Tessivaneの設定" that closes normally and ends the run. The settings
// dialog takes its place.
#pragma once
#include <windows.h>

#include "shell/ScopedWin.h"

namespace tessivane {

class SettingWindow {
public:
  explicit SettingWindow(HINSTANCE instance);
  HWND Handle() const { return window_.get(); }

private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  ScopedWindow window_;
};

}  // namespace tessivane
