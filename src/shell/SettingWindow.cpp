#include "shell/SettingWindow.h"

#include <stdexcept>

#include "shell/Resources.h"

namespace tessivane {

namespace {
const wchar_t kClassName[] = L"TfrmSetting";
}

LRESULT CALLBACK SettingWindow::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);  // the main window ends the run
  return DefWindowProcW(wnd, message, wParam, lParam);
}

SettingWindow::SettingWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &SettingWindow::WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TESSIVANE));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  window_.reset(CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"Tessivaneの設定",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 480, 360, nullptr, nullptr, instance, nullptr));
  if (!window_) throw std::runtime_error("The settings window could not be created");
  ShowWindow(window_.get(), SW_SHOWNORMAL);
}

}  // namespace tessivane
