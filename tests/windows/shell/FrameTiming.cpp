// Frame cost of the saver as it runs: the composer's Make plus the paint
// of the frame into a window, the way the saver window paints (one
// SetDIBitsToDevice from the composer's Image per frame). Prints the
// milliseconds per frame; a measurement, not a test.
//
//   tessivane_frame_timing [WIDTHxHEIGHT] [FRAMES] [SIZE] [TYPE]
//
// defaults 1920x1080, 200 frames, Size 8 (a 32-pixel cut), type 1 (the
// kaleidoscope). Under Wine, run it on a display at least as large as the
// frame, or the paint covers only the visible part.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Bitmap.h"
#include "base/Random.h"
#include "images/RandomPicture.h"
#include "pattern/Composer.h"
#include "saver/SourcePicture.h"
#include "shell/FramePainter.h"
#include "base/ScopedWin.h"

namespace {

using namespace tessivane;

double Ms(LONGLONG ticks, LONGLONG frequency) { return 1000.0 * static_cast<double>(ticks) / frequency; }

LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int Run(int width, int height, int frames, int size, int type) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TessivaneFrameTiming";
  RegisterClassExW(&wc);
  ScopedWindow window(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Frame timing", WS_POPUP | WS_VISIBLE, 0,
                                      0, width, height, nullptr, nullptr, wc.hInstance, nullptr));
  if (!window) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  Pump();

  ScopedSeedSource seed(FixedSeed(1));
  Composer composer(type, ComposerParams{});
  Bitmap source(kRandomImageWidth, kRandomImageHeight);
  MakeRandomImage(source);
  try {
    composer.Prepare({width, height}, source, 4 * size, 3, 0, false, false);
  } catch (...) {
    std::fprintf(stderr, "set-up failed: error %d\n", composer.ErrorNo);
    return 1;
  }
  FramePainter painter;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  LONGLONG make = 0;
  LONGLONG paint = 0;
  for (int i = -10; i < frames; ++i) {  // ten frames to warm up
    const LONGLONG t0 = Counter();
    composer.Make();
    const LONGLONG t1 = Counter();
    {
      ScopedWindowDC dc(window.get());
      painter.Paint(dc.get(), composer.Image);
    }
    GdiFlush();
    Pump();  // lets the system pass the window's pixels on to the display
    const LONGLONG t2 = Counter();
    if (i >= 0) {
      make += t1 - t0;
      paint += t2 - t1;
    }
  }
  RECT client{};
  GetClientRect(window.get(), &client);
  std::printf("screen %dx%d, window %ldx%ld\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              client.right, client.bottom);
  std::printf("%dx%d, type %d, cut %d, %d frames: Make %.2f ms + paint %.2f ms = %.2f ms per frame\n", width,
              height, type, 4 * size, frames, Ms(make, frequency.QuadPart) / frames,
              Ms(paint, frequency.QuadPart) / frames, Ms(make + paint, frequency.QuadPart) / frames);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 1920;
  int height = 1080;
  if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) {
    std::fprintf(stderr, "usage: tessivane_frame_timing [WIDTHxHEIGHT] [FRAMES] [SIZE] [TYPE]\n");
    return 2;
  }
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  const int size = argc > 3 ? std::atoi(argv[3]) : 8;
  const int type = argc > 4 ? std::atoi(argv[4]) : 1;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return 2;
  return Run(width, height, frames, size, type);
}
