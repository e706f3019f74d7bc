// Pictures of the three dialogs for the documentation (scripts/screenshots):
//
//   tessivane_dialog_shot OUT_DIR SUFFIX
//
// starts Tessivane.scr /c with an empty store (the saver and this program
// both speak the display language of the prefix), saves the settings dialog as
// OUT_DIR\settings-SUFFIX.bmp, opens the method options dialog with the
// details button, saves it as OUT_DIR\options-SUFFIX.bmp and with its
// random page as OUT_DIR\options-random-SUFFIX.bmp, opens the music dialog
// with its button and saves it as OUT_DIR\music-SUFFIX.bmp, and closes them
// with cancel. The pictures are the windows as the screen shows them, frame
// and caption included. Exit status 0 when all were saved.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Texts.h"
#include "dialogs/ControlIds.h"
#include "shell/SaverHarness.h"
#include "shell/SaverTimes.h"
#include "support/RemoteDialog.h"

namespace tessivane::test {
namespace {

// The window's rectangle of the screen as a 24-bit BMP file.
bool SaveWindowPicture(HWND wnd, const std::wstring& path) {
  RECT rect{};
  GetWindowRect(wnd, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  ScopedWindowDC screen(nullptr);
  ScopedGdiObject<HBITMAP> dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return false;
  HDC memory = CreateCompatibleDC(screen.get());
  {
    ScopedSelect select(memory, dib.get());
    BitBlt(memory, 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
  }
  DeleteDC(memory);
  const auto* pixels = static_cast<const uint32_t*>(bits);
  WriteBmp(path, width, height, [&](int x, int y) { return pixels[y * width + x] & 0xFFFFFF; });
  return true;
}

int Run(const std::wstring& outDir, const std::wstring& suffix) {
  DeleteProductKey();
  SaverProcess settingsRun(L"/c");
  const HWND settings = WaitForTopWindow(settingsRun.Id(), dialogs::kDialogClassName,
                                         dialogs::SettingsCaption().c_str(), kStartBound);
  if (!settings) {
    std::fprintf(stderr, "dialog-shot: the settings dialog did not appear\n");
    return 1;
  }
  PumpFor(1000);  // painted, glyphs and all
  bool saved = SaveWindowPicture(settings, outDir + L"\\settings-" + suffix + L".bmp");

  ClickAsync(Control(settings, dialogs::kIdDetailsButton));
  const HWND options = WaitForTopWindow(settingsRun.Id(), dialogs::kDialogClassName,
                                        dialogs::OptionsCaption().c_str(), kStartBound);
  if (options) {
    PumpFor(1000);
    saved = SaveWindowPicture(options, outDir + L"\\options-" + suffix + L".bmp") && saved;
    SelectTab(Control(options, dialogs::kIdOptionsTabs), dialogs::kPageRandom);
    PumpFor(500);
    saved = SaveWindowPicture(options, outDir + L"\\options-random-" + suffix + L".bmp") && saved;
    ClickAsync(Control(options, dialogs::kIdCancelButton));
    WaitForWindowGone(options, kExitBound);
  } else {
    std::fprintf(stderr, "dialog-shot: the options dialog did not appear\n");
    saved = false;
  }
  ClickAsync(Control(settings, dialogs::kIdMusicButton));
  const HWND music = WaitForTopWindow(settingsRun.Id(), dialogs::kDialogClassName,
                                      dialogs::MusicCaption().c_str(), kStartBound);
  if (music) {
    PumpFor(1000);
    saved = SaveWindowPicture(music, outDir + L"\\music-" + suffix + L".bmp") && saved;
    ClickAsync(Control(music, dialogs::kIdCancelButton));
    WaitForWindowGone(music, kExitBound);
  } else {
    std::fprintf(stderr, "dialog-shot: the music dialog did not appear\n");
    saved = false;
  }
  ClickAsync(Control(settings, dialogs::kIdCancelButton));
  settingsRun.WaitForExit(kExitBound);
  DeleteProductKey();
  return saved ? 0 : 1;
}

}  // namespace
}  // namespace tessivane::test

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tessivane_dialog_shot OUT_DIR SUFFIX\n");
    return 2;
  }
  // The captions waited for are those the saver shows: its catalog is the
  // one of the user's display language.
  tessivane::SetLanguage(tessivane::LanguageOfLangId(GetUserDefaultUILanguage()));
  return tessivane::test::Run(argv[1], argv[2]);
}
