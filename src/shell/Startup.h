// Start-up of the screen-saver program: the run mode and the windows taken
// from the command line, the system's saver-running flag, the start of each
// mode and the system password services.
#pragma once
#include <windows.h>

#include "shell/RunMode.h"

namespace tessivane {

// What the command line asks of this start.
struct SaverStart {
  RunMode mode = RunMode::kSettings;
  HWND parent = nullptr;         // the window named after the mode; null for none
  HWND settingsOwner = nullptr;  // settings mode: the settings dialog's owner; null for none
};

// Reads the process's command line.
SaverStart DecideSaverStart();

// Tells the system that a full-screen saver runs, for the object's life.
// Inactive (touches nothing) for every other mode.
class ScreenSaverRunningFlag {
public:
  explicit ScreenSaverRunningFlag(bool active);
  ~ScreenSaverRunningFlag();
  ScreenSaverRunningFlag(const ScreenSaverRunningFlag&) = delete;
  ScreenSaverRunningFlag& operator=(const ScreenSaverRunningFlag&) = delete;

private:
  bool active_;
  UINT previous_ = 0;  // receives the old state; not used further
};

// Runs the start's mode to its end; the process's exit code.
int RunSaverProgram(HINSTANCE instance, const SaverStart& start);

// True when the full-screen saver may close (the preview never asks): True
// when "ScreenSaveUsePassword" (REG_DWORD only) is 0 or unreadable, or when
// the system has no password check; otherwise the system's check decides.
bool VerifyPassword(HWND wnd);

// True when the system's password-change dialog, owned by `parent`, could
// be shown.
bool ChangePassword(HWND parent);

}  // namespace tessivane
