#include "shell/OwnerWindow.h"

#include <stdexcept>

#include "base/Texts.h"
#include "shell/Resources.h"

namespace tessivane {

namespace {

const wchar_t kClassName[] = L"TessivaneOwner";

void RegisterOwnerClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TESSIVANE));
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
}

}  // namespace

OwnerWindow::OwnerWindow(HINSTANCE instance, const wchar_t* title) {
  RegisterOwnerClass(instance);
  // Zero-sized and never shown while the run lasts.
  window_.reset(
      CreateWindowExW(0, kClassName, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
  if (!window_) throw std::runtime_error(Tr(TextId::kWindowCreateFailed));
}

}  // namespace tessivane
