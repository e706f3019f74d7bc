#include "shell/Startup.h"

#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Texts.h"
#include "base/Utf.h"
#include "dialogs/SettingsDialog.h"
#include "shell/DynCalls.h"
#include "base/ErrorBoxes.h"
#include "shell/SaverWindow.h"
#include "shell/OwnerWindow.h"
#include "shell/PluginHost.h"
#include "base/ScopedWin.h"

namespace tessivane {

namespace {

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  ScopedLocal owner(reinterpret_cast<HLOCAL>(argv));
  for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
  return args;
}

// How often the loop asks its watch when no message comes.
constexpr DWORD kWatchMs = 250;

// Runs the messages until the main window ends the run. With a watch, the
// loop also asks it after each round of messages and at least every
// kWatchMs, and ends when it answers false: the loop outlives the
// program's windows, which another program may take away without a
// message.
int RunMessageLoop(const std::function<bool()>& watch = {}) {
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (watch && !watch()) return 0;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, watch ? kWatchMs : INFINITE, QS_ALLINPUT);
  }
}

// The password-check library stays loaded once found.
ScopedModule& PasswordLibrary() {
  static ScopedModule library;
  return library;
}

// "ScreenSaveUsePassword" as a 32-bit number; 0 for anything else.
DWORD ScreenSaveUsePassword() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
    return 0;
  ScopedKey key(raw);
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.get(), L"ScreenSaveUsePassword", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS)
    return 0;
  if (type != REG_DWORD || size != sizeof value) return 0;
  return value;
}

}  // namespace

SaverStart DecideSaverStart() {
  const RunModeChoice choice = DecideRunMode(CommandLineArguments());
  // Handles keep 32 significant bits; a 64-bit handle is the sign extension.
  return {.mode = choice.mode,
          .parent = reinterpret_cast<HWND>(static_cast<LONG_PTR>(choice.parentWnd)),
          .settingsOwner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(choice.settingsOwner))};
}

ScreenSaverRunningFlag::ScreenSaverRunningFlag(bool active) : active_(active) {
  if (active_) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 1, &previous_, 0);
}

ScreenSaverRunningFlag::~ScreenSaverRunningFlag() {
  if (active_) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 0, &previous_, 0);
}

bool VerifyPassword(HWND wnd) {
  if (ScreenSaveUsePassword() == 0) return true;
  ScopedCursor shown(true);  // the system's dialog needs a cursor; hidden again on every way out
  ScopedModule& library = PasswordLibrary();
  if (!library) library = LoadSystemLibrary(L"PASSWORD.CPL");
  auto verify = GetProc<dyn::VerifyScreenSavePwdProc>(library, "VerifyScreenSavePwd");
  if (!verify) return true;
  return verify(wnd) != FALSE;
}

bool ChangePassword(HWND parent) {
  ScopedModule library = LoadSystemLibrary(L"MPR.DLL");
  if (!library) return false;
  auto change = GetProc<dyn::PwdChangePasswordAProc>(library, "PwdChangePasswordA");
  if (!change) return false;
  change("SCRSAVE", parent, 0, 0);
  return true;
}

int RunSaverProgram(HINSTANCE instance, const SaverStart& start) {
  if (start.mode == RunMode::kChangePassword) {
    if (!ChangePassword(start.parent)) ShowErrorMessage(Tr(TextId::kPasswordChangeUnavailable));
    return 0;
  }

  if (start.mode == RunMode::kSettings) {
    // The settings dialog is the main window; closing it ends the run. Its
    // plug-in check asks a host process while the dialog waits.
    PluginHostRunner pluginHost(true);
    ScopedPluginCallRunner pluginRunner(pluginHost);
    dialogs::SettingsDialog::Run(instance, start.settingsOwner);
    return 0;
  }

  // The hidden owner of the program's windows, titled like the application.
  OwnerWindow owner(instance, kApplicationTitle);
  std::optional<SaverWindow> window;
  switch (start.mode) {
    case RunMode::kSaver:
      window.emplace(instance, owner.Handle(), start.mode, start.parent);
      break;
    case RunMode::kPreview: {
      ShowWindow(start.parent, SW_SHOW);
      RECT rect{};
      GetWindowRect(start.parent, &rect);
      window.emplace(instance, owner.Handle(), start.mode, start.parent);
      window->SetBounds(0, 0, rect.right - rect.left, rect.bottom - rect.top);
      break;
    }
    default:
      break;
  }
  if (window) {
    // No taskbar button for a saver or a preview.
    SetWindowLongW(owner.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    // The main window appears only now, with the run fully set up.
    window->Show();
  }
  // The preview watches the window it lives in from here.
  if (start.mode == RunMode::kPreview && window) return RunMessageLoop([&] { return window->WatchParent(); });
  return RunMessageLoop();
}

}  // namespace tessivane
