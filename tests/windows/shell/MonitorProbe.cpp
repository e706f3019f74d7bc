// The Windows side of the several-monitor test (monitors-test.sh), run in
// that test's own prefix and display:
//
//   tessivane_monitor_probe monitors   prints "monitors N", "virtual L T W H"
//                                      and one "monitor L T W H" per monitor
//   tessivane_monitor_probe window MS  waits up to MS ms for the visible
//                                      saver window, prints "window L T W H"
//                                      (its rectangle in screen coordinates)
//   tessivane_monitor_probe key        a real key press (through the system's
//                                      input queue) to the saver window
//   tessivane_monitor_probe displaychange
//                                      tells the saver window that the display
//                                      changed, as Windows does after a change
//                                      of the monitors (Wine 8 does not when
//                                      the X server's outputs change)
//
// Exit status 0 on success, 1 when the window is not there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const wchar_t kSaverClass[] = L"SaverWindow";

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT rect, LPARAM) {
  std::printf("monitor %ld %ld %ld %ld\n", rect->left, rect->top, rect->right - rect->left,
              rect->bottom - rect->top);
  return TRUE;
}

HWND WaitForSaver(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    HWND wnd = FindWindowW(kSaverClass, nullptr);
    if (wnd && IsWindowVisible(wnd)) return wnd;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(50);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "monitors") == 0) {
    std::printf("monitors %d\n", GetSystemMetrics(SM_CMONITORS));
    std::printf("virtual %d %d %d %d\n", GetSystemMetrics(SM_XVIRTUALSCREEN),
                GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0);
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "window") == 0) {
    HWND wnd = WaitForSaver(static_cast<DWORD>(std::atoi(argv[2])));
    if (!wnd) {
      HWND hidden = FindWindowW(kSaverClass, nullptr);
      std::printf("%s\n", hidden ? "window hidden" : "no window");
      if (HWND box = FindWindowW(L"#32770", nullptr)) {
        wchar_t text[512] = {};
        GetWindowTextW(box, text, 512);
        std::printf("box \"%ls\"\n", text);
      }
      return 1;
    }
    RECT rect{};
    GetWindowRect(wnd, &rect);
    std::printf("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "key") == 0) {
    HWND wnd = WaitForSaver(0);
    if (!wnd) return 1;
    SetForegroundWindow(wnd);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_SPACE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2 ? 0 : 1;
  }
  if (argc >= 2 && std::strcmp(argv[1], "displaychange") == 0) {
    HWND wnd = WaitForSaver(0);
    if (!wnd) return 1;
    DWORD_PTR result = 0;
    const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return SendMessageTimeoutW(wnd, WM_DISPLAYCHANGE, 32, size, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: tessivane_monitor_probe monitors | window MS | key | displaychange\n");
  return 2;
}
