// The program entry of the screen saver.
#include <windows.h>

#include "base/Errors.h"
#include "base/Texts.h"
#include "shell/DynCalls.h"
#include "base/ErrorBoxes.h"
#include "shell/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tessivane;
  HardenLibrarySearch();
  // The run mode comes first; in saver mode the system learns at once that
  // a saver runs, and this object, the last to go, tells it that it ended.
  ScreenSaverRunningFlag running(DecideSaverMode() == smSaver);

  // Every text from here on speaks the user's display language.
  SetLanguage(LanguageOfLangId(GetUserDefaultUILanguage()));

  MessageBoxErrorDisplay display;
  SetErrorDisplay(&display);
  int exitCode = 0;
  try {
    exitCode = RunSaverProgram(instance);
  } catch (...) {
    HandleException();
  }
  SetErrorDisplay(nullptr);
  return exitCode;
}
