// Start-up of the screen-saver program: the run mode and parent window
// taken from the command line, the system's saver-running flag, the start
// of each mode and the system password services.
#pragma once
#include <windows.h>

#include "shell/RunMode.h"

namespace tessivane {

// Set once by DecideSaverMode, before anything else runs; read-only after.
extern RunMode SaverMode;
extern HWND ParentWnd;

// Reads the process's command line into SaverMode and ParentWnd.
RunMode DecideSaverMode();

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

// Runs the mode chosen by DecideSaverMode to its end; the process's exit code.
int RunSaverProgram(HINSTANCE instance);

// True when the saver may close: always False in preview mode; True when
// "ScreenSaveUsePassword" (REG_DWORD only) is 0 or unreadable, or when the
// system has no password check; otherwise the system's check decides.
bool VerifyPassword(HWND wnd);

// True when the system's password-change dialog could be shown.
bool ChangePassword();

}  // namespace tessivane
