// The floor of the saver's display path, a measurement, not a test.
//
//   tessivane_paint_floor [--tile N] [--seconds S]
//
// A borderless top-most window of the virtual screen's size shows a
// finished picture on the saver window's frame timer rule: a 10 ms
// window-message timer that each tick is stopped, the picture painted and
// the timer started again. The picture is a ready 32-bit frame of the
// window's size painted with one SetDIBitsToDevice (FramePainter), or with
// --tile N an N x N tile repeated by a pattern brush (TilePainter, as the
// saver window paints, the brush made anew each tick). Nothing else runs:
// the program's CPU use is what merely showing a picture costs, the floor
// that scripts/frame-cost sets the saver's CPU use against. It runs for S
// seconds (default: until a key, or until it is killed).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "../FloorPicture.h"
#include "base/FrameBitmap.h"
#include "base/ScopedWin.h"
#include "shell/FramePainter.h"

namespace {

using namespace tessivane;

constexpr UINT kFrameMs = 10;  // the saver's shortest frame interval, its default
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kEndTimer = 2;

struct Floor {
  FrameBitmap picture;  // the frame, or the tile with --tile
  bool tiled = false;
  FramePainter frames;
  TilePainter tiles;
};

Floor* floorOf = nullptr;

void PaintTick(HWND wnd) {
  KillTimer(wnd, kFrameTimer);  // as the saver: frames never overlap
  RECT client{};
  GetClientRect(wnd, &client);
  ScopedWindowDC dc(wnd);
  if (floorOf->tiled) {
    floorOf->tiles.Paint(dc.get(), floorOf->picture, client.right, client.bottom);
  } else {
    floorOf->frames.Paint(dc.get(), floorOf->picture);
  }
  SetTimer(wnd, kFrameTimer, kFrameMs, nullptr);
}

LRESULT CALLBACK FloorProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kFrameTimer) PaintTick(wnd);
      if (wParam == kEndTimer) DestroyWindow(wnd);
      return 0;
    case WM_KEYDOWN:
      DestroyWindow(wnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(wnd, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int tile = 0;
  int seconds = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--tile")
      tile = std::atoi(argv[i + 1]);
    else if (arg == "--seconds")
      seconds = std::atoi(argv[i + 1]);
  }
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  Floor floor;
  floor.tiled = tile > 0;
  floor.picture.SetSize(floor.tiled ? tile : width, floor.tiled ? tile : height);
  FillFloorPicture(floor.picture);
  floorOf = &floor;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &FloorProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TessivanePaintFloor";
  RegisterClassExW(&wc);
  ScopedWindow window(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Paint floor", WS_POPUP | WS_VISIBLE,
                                      left, top, width, height, nullptr, nullptr, wc.hInstance, nullptr));
  if (!window) return 1;
  SetTimer(window.get(), kFrameTimer, kFrameMs, nullptr);
  if (seconds > 0) SetTimer(window.get(), kEndTimer, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window.release();  // destroyed by its own handler
  return 0;
}
