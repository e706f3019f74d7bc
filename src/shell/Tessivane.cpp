// The program entry of the screen saver.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "base/ErrorBoxes.h"
#include "base/Errors.h"
#include "base/ScopedWin.h"
#include "base/Texts.h"
#include "shell/DynCalls.h"
#include "shell/PluginHost.h"
#include "shell/Startup.h"

namespace {

// The shared memory's handle when this start is a plug-in host, else empty.
std::wstring PluginHostArgument() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return {};
  tessivane::ScopedLocal owner(reinterpret_cast<HLOCAL>(argv));
  if (count != 3 || std::wstring(argv[1]) != tessivane::kPluginHostSwitch) return {};
  return argv[2];
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tessivane;
  HardenLibrarySearch();
  // Every text speaks the user's display language: set before anything,
  // a plug-in host included, can word one.
  SetLanguage(LanguageOfLangId(GetUserDefaultUILanguage()));
  // A plug-in host answers one question and ends: no run mode, no windows.
  if (const std::wstring mapping = PluginHostArgument(); !mapping.empty()) return RunPluginHost(mapping);
  // The run mode comes first; in saver mode the system learns at once that
  // a saver runs, and this object, the last to go, tells it that it ended.
  const SaverStart start = DecideSaverStart();
  ScreenSaverRunningFlag running(start.mode == RunMode::kSaver);

  MessageBoxErrorDisplay display;
  SetErrorDisplay(&display);
  int exitCode = 0;
  try {
    exitCode = RunSaverProgram(instance, start);
  } catch (...) {
    HandleException();
  }
  SetErrorDisplay(nullptr);
  return exitCode;
}
