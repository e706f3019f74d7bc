// A long folder run of the real Tessivane.scr, a measurement, not a test.
//
//   tessivane_folder_soak FOLDER [--seconds S] [--change C] [--shade-off 1]
//
// Stores folder mode on FOLDER with ImageChangeTime C (default 1) and, with
// --shade-off 1, the blur of each loaded picture, starts
// the saver with "/s" and watches it for S seconds (default 600): every
// second it looks for an error box, tells the picture on the screen by its
// mean colour (red-heavy or blue-heavy: make the folder's pictures so) and
// reads the saver's memory. It prints a line every 30 seconds and a
// summary, ends the run with a key and restores nothing but the product
// key (removed). Exit code 0 when the run lasted without a box and the
// picture kept changing to the end.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "SaverHarness.h"
#include "base/ScopedWin.h"
#include "SaverTimes.h"

using namespace tessivane;
using namespace tessivane::test;

namespace {

// 'R' or 'B' for a red- or blue-heavy screen, '?' otherwise.
char Dominant(const Shot& shot) {
  unsigned long long red = 0, blue = 0;
  for (uint32_t p : shot.pixels) {
    red += (p >> 16) & 0xFF;
    blue += p & 0xFF;
  }
  if (red > blue * 2) return 'R';
  if (blue > red * 2) return 'B';
  return '?';
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tessivane_folder_soak FOLDER [--seconds S] [--change C] [--shade-off 1]\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  int seconds = 600;
  std::wstring change = L"1";
  std::wstring shadeOff = L"0";
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::wstring(argv[i]) == L"--seconds") seconds = _wtoi(argv[i + 1]);
    if (std::wstring(argv[i]) == L"--change") change = argv[i + 1];
    if (std::wstring(argv[i]) == L"--shade-off") shadeOff = argv[i + 1];
  }
  DeleteProductKey();
  PutSetting("Settings", "FileType", L"3");
  PutSetting("Settings", "ImageFolderName", folder);
  PutSetting("Settings", "ImageChangeTime", change);
  PutSetting("Settings", "ShadeOff", shadeOff);
  SaverProcess saver(L"/s");
  HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  if (!wnd) {
    std::printf("no saver window\n");
    return 1;
  }
  ScopedKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, saver.Id()));
  int switches = 0;
  int lastSwitchAt = 0;
  char shown = '?';
  bool box = false;
  SIZE_T peak = 0;
  int second = 0;
  for (; second < seconds && saver.Running(); ++second) {
    PumpFor(1000);
    if (saver.WaitForWindow(L"#32770", 0)) {
      box = true;
      std::printf("%4d s: error box: %ls\n", second + 1,
                  MessageBoxText(saver.WaitForWindow(L"#32770", 0)).c_str());
      break;
    }
    const char now = Dominant(Capture(wnd));
    if (now != '?' && now != shown) {
      if (shown != '?') {
        ++switches;
        lastSwitchAt = second + 1;
      }
      shown = now;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (process && GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
      peak = counters.PeakPagefileUsage > peak ? counters.PeakPagefileUsage : peak;
      if ((second + 1) % 30 == 0)
        std::printf("%4d s: %d picture switches, showing %c, private %zu MB (peak %zu MB)\n", second + 1,
                    switches, now, static_cast<size_t>(counters.PagefileUsage >> 20),
                    static_cast<size_t>(peak >> 20));
    }
    std::fflush(stdout);
  }
  const bool running = saver.Running();
  if (running) {
    PostKey(wnd, VK_SPACE);
    saver.WaitForExit(kExitBound);
  }
  DeleteProductKey();
  std::printf("ran %d s, %s, %d picture switches, last at %d s, peak private %zu MB, %s\n", second,
              running ? "still running" : "ended by itself", switches, lastSwitchAt,
              static_cast<size_t>(peak >> 20), box ? "an error box" : "no error box");
  const bool ok = running && !box && switches > 0 && lastSwitchAt + 30 >= second;
  return ok ? 0 : 1;
}
