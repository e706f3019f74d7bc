// Frame cost of the saver as it runs, a measurement, not a test.
//
//   tessivane_frame_timing [WIDTHxHEIGHT...] [--frames N] [--size S] [--type T]
//
// For each frame size (default 1920x1080 and 3840x2160) it prints the
// medians over N frames (default 200, after ten to warm up) of the
// composer's Make, of the paint of the frame into a window (the way the
// saver window paints, one SetDIBitsToDevice per frame, then flushed and
// the messages pumped so the display gets the pixels; "blit" is the
// SetDIBitsToDevice call alone), of the two together, and of one memcpy of a 32-bit frame of that size as the
// yardstick, with the ratio of total to memcpy. Size S (default 8, a
// 32-pixel cut) and type T (default 1, the kaleidoscope) pick the method.
//
//   tessivane_frame_timing --gap FOLDER [--seconds S] [WIDTHxHEIGHT]
//
// Runs the saver's frame loop in folder mode on FOLDER with a new picture
// every second and the shortest frame interval (10 ms) for S seconds
// (default 6), the way the saver window's timer does, and prints the
// longest gap between two frames and the number of picture changes.
//
// Under Wine, run it on a display at least as large as the frame, or the
// paint covers only the visible part.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "base/Random.h"
#include "base/ScopedWin.h"
#include "images/RandomPicture.h"
#include "pattern/Composer.h"
#include "saver/FrameLoop.h"
#include "saver/SaverRun.h"
#include "saver/StoredRun.h"
#include "saver/SourcePicture.h"
#include "settings/MemorySettingsStore.h"
#include "shell/FramePainter.h"

namespace {

using namespace tessivane;

LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double Frequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart);
}

double Ms(LONGLONG ticks) {
  static const double frequency = Frequency();
  return 1000.0 * static_cast<double>(ticks) / frequency;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

ScopedWindow MakeWindow(int width, int height) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TessivaneFrameTiming";
  RegisterClassExW(&wc);  // fails harmlessly the second time
  ScopedWindow window(CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Frame timing", WS_POPUP | WS_VISIBLE,
                                      0, 0, width, height, nullptr, nullptr, wc.hInstance, nullptr));
  Pump();
  return window;
}

// Returns the counter after the SetDIBitsToDevice call itself, before the
// flush and the message pump that pass the pixels on to the display.
LONGLONG Paint(HWND window, FramePainter& painter, const FrameBitmap& frame) {
  LONGLONG blitted = 0;
  {
    ScopedWindowDC dc(window);
    painter.Paint(dc.get(), frame);
    blitted = Counter();
  }
  GdiFlush();
  Pump();  // lets the system pass the window's pixels on to the display
  return blitted;
}

int TimeFrames(int width, int height, int frames, int size, int type) {
  ScopedWindow window = MakeWindow(width, height);
  if (!window) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  ScopedSeedSource seed(FixedSeed(1));
  Composer composer(type, ComposerParams{}, ProgramRandom());
  Bitmap source(kRandomImageWidth, kRandomImageHeight);
  MakeRandomImage(source, ProgramRandom());
  try {
    composer.Prepare({width, height}, source, {.cutSide = 4 * size, .speed = 3});
  } catch (...) {
    std::fprintf(stderr, "set-up failed: error %d\n", composer.Error().number);
    return 1;
  }
  FramePainter painter;
  // The yardstick: one memcpy of a frame of four bytes per pixel.
  const size_t frameBytes = static_cast<size_t>(width) * height * 4;
  std::vector<unsigned char> from(frameBytes, 1);
  std::vector<unsigned char> to(frameBytes, 2);
  std::vector<double> make, paint, blit, total, copy;
  for (int i = -10; i < frames; ++i) {  // ten frames to warm up
    const LONGLONG t0 = Counter();
    composer.Make();
    const LONGLONG t1 = Counter();
    const LONGLONG blitted = Paint(window.get(), painter, composer.Image());
    const LONGLONG t2 = Counter();
    std::memcpy(to.data(), from.data(), frameBytes);
    const LONGLONG t3 = Counter();
    from[static_cast<size_t>(i + 10) % frameBytes] = to[frameBytes / 2];  // keeps the copy alive
    if (i >= 0) {
      make.push_back(Ms(t1 - t0));
      paint.push_back(Ms(t2 - t1));
      blit.push_back(Ms(blitted - t1));
      total.push_back(Ms(t2 - t0));
      copy.push_back(Ms(t3 - t2));
    }
  }
  RECT client{};
  GetClientRect(window.get(), &client);
  const double totalMs = Median(total);
  const double copyMs = Median(copy);
  std::printf(
      "%2d-bit %4dx%-4d type %d cut %3d: Make %6.2f  paint %6.2f (blit %5.2f)  total %6.2f  "
      "memcpy %5.2f ms  total/memcpy %5.1f  (window %ldx%ld, screen %dx%d, %d frames)\n",
      static_cast<int>(sizeof(void*) * 8), width, height, type, 4 * size, Median(make), Median(paint),
      Median(blit), totalMs, copyMs, copyMs > 0 ? totalMs / copyMs : 0.0, client.right, client.bottom,
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frames);
  std::fflush(stdout);
  return 0;
}

// The saver window's frame step, with Sleep for its timer.
int MeasureGap(const std::string& folder, int width, int height, int seconds) {
  ScopedWindow window = MakeWindow(width, height);
  if (!window) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  MemorySettingsStore store;
  store.PutText("Settings", "FileType", "3");
  store.PutText("Settings", "ImageFolderName", folder);
  store.PutText("Settings", "ImageChangeTime", "1");
  store.PutText("Settings", "Weight", "1");
  FramePainter painter;
  const Point client{width, height};
  try {
    StoredRun stored(false, store, ProgramRandom());
    FrameLoop& loop = stored.Loop();
    LONGLONG painted = 0;
    SaverRun run(loop, [&](const Composer& composer) {
      Paint(window.get(), painter, composer.Image());
      painted = Counter();
    });
    const LONGLONG t0 = Counter();
    run.Start(client);
    run.SettlePictures(client);
    std::printf("first picture and set-up: %.1f ms\n", Ms(Counter() - t0));
    DateTime lastChange = loop.LastImageChange();
    int changes = 0;
    double longest = 0;
    double longestAtSwitch = 0;  // the gap that ends with the first frame of a new picture
    double longestFinish = 0;    // the end of a frame, where the change begins and the switch happens
    std::vector<double> gaps;
    const LONGLONG end = Counter() + static_cast<LONGLONG>(seconds * Frequency());
    LONGLONG lastFrame = 0;
    bool switched = false;
    while (Counter() < end) {
      // The saver's frame step: the frame, its paint and its end, where a
      // change begins; a picture that is ready switches in between, as the
      // saver's notice does.
      const uint32_t interval = run.Tick(client);
      run.PictureReady(client);
      if (lastFrame != 0) {
        gaps.push_back(Ms(painted - lastFrame));
        longest = std::max(longest, gaps.back());
        if (switched) longestAtSwitch = std::max(longestAtSwitch, gaps.back());
      }
      lastFrame = painted;
      longestFinish = std::max(longestFinish, Ms(Counter() - painted));
      switched = loop.LastImageChange() != lastChange;
      if (switched) {
        lastChange = loop.LastImageChange();
        ++changes;
      }
      Sleep(interval);
    }
    std::printf(
        "%2d-bit %dx%d, %d s, interval 10 ms: %zu frames, %d picture changes, median gap %.1f ms, "
        "longest gap %.1f ms (across a switch %.1f ms; longest end of a frame %.1f ms)\n",
        static_cast<int>(sizeof(void*) * 8), width, height, seconds, gaps.size() + 1, changes, Median(gaps),
        longest, longestAtSwitch, longestFinish);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

bool ParseSize(const char* text, int& width, int& height) {
  return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0 && width <= 16384 &&
         height <= 16384;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tessivane_frame_timing [WIDTHxHEIGHT...] [--frames N] [--size S] [--type T]\n"
               "       tessivane_frame_timing --gap FOLDER [--seconds S] [WIDTHxHEIGHT]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::pair<int, int>> sizes;
  int frames = 200;
  int size = 8;
  int type = 1;
  int seconds = 6;
  std::string gapFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    int width = 0;
    int height = 0;
    if (arg == "--frames" && hasValue) {
      frames = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--size" && hasValue) {
      size = std::atoi(argv[++i]);
    } else if (arg == "--type" && hasValue) {
      type = std::atoi(argv[++i]);
    } else if (arg == "--seconds" && hasValue) {
      seconds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--gap" && hasValue) {
      gapFolder = argv[++i];
    } else if (ParseSize(argv[i], width, height)) {
      sizes.emplace_back(width, height);
    } else {
      return Usage();
    }
  }
  if (!gapFolder.empty()) {
    const auto [width, height] = sizes.empty() ? std::pair{1920, 1080} : sizes.front();
    return MeasureGap(gapFolder, width, height, seconds);
  }
  if (sizes.empty()) sizes = {{1920, 1080}, {3840, 2160}};
  for (const auto& [width, height] : sizes)
    if (int failed = TimeFrames(width, height, frames, size, type)) return failed;
  return 0;
}
