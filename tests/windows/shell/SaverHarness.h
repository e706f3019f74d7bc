// Drives the real Tessivane.scr from a test: starts it in a run mode, finds
// its windows, sends input and waits for it to end, always with a time
// bound. Waiting pumps this thread's messages, because a preview window of
// the saver is a child of a window of this thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/ScopedWin.h"

namespace tessivane::test {

// Tessivane.scr of this build, as a Windows path.
std::wstring SaverPath();
// A Windows path for a file of the build tree given by its host path.
std::wstring HostToWindowsPath(const std::string& hostPath);

// Lets messages of this thread run for ms milliseconds.
void PumpFor(DWORD ms);

class SaverProcess {
public:
  struct Options {
    std::wstring program = SaverPath();
    std::wstring currentDirectory;               // empty: the test's own
    std::vector<std::wstring> extraEnvironment;  // "NAME=value" added to the test's environment
  };

  // Starts the program with the text after its name ("/s", L"/p 1234").
  explicit SaverProcess(const std::wstring& arguments);
  SaverProcess(const std::wstring& arguments, const Options& options);
  // Ends a process that a failed test left running.
  ~SaverProcess();

  DWORD Id() const { return id_; }
  bool Running() const;
  // True when the process ended within ms; messages of this thread run meanwhile.
  bool WaitForExit(DWORD ms);
  DWORD ExitCode() const;

  // The first visible top-level window of the process with this class
  // (and caption, when given) that appears within ms; nullptr otherwise.
  HWND WaitForWindow(const wchar_t* className, DWORD ms, const wchar_t* caption = nullptr) const;
  // Every top-level window of the process with this class, visible or not.
  std::vector<HWND> Windows(const wchar_t* className) const;

private:
  ScopedKernelHandle process_;
  DWORD id_ = 0;
};

// The first visible top-level window of a process with this class (and
// caption, when given) that appears within ms; gives up early when the
// process, if given, has ended.
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD ms,
                          const wchar_t* caption = nullptr, const SaverProcess* process = nullptr);

// A plain visible top-level window of the test, standing in for the
// preview window of the display control panel.
class HostWindow {
public:
  HostWindow(int width, int height);
  HWND Handle() const { return window_.get(); }
  void Destroy() { window_.reset(); }
  // The first visible child window of the given class that appears within ms.
  HWND WaitForChild(const wchar_t* className, DWORD ms) const;

private:
  ScopedWindow window_;
};

std::wstring ClassName(HWND wnd);
std::wstring WindowText(HWND wnd);
RECT WindowRect(HWND wnd);

// The text of a message box (its static text control).
std::wstring MessageBoxText(HWND box);

// Input posted straight to a window: deterministic, no matter where the
// real pointer or the focus is.
void PostMouseMove(HWND wnd, int x, int y);
void PostClick(HWND wnd, int x, int y);
void PostKey(HWND wnd, WORD virtualKey);
// A key pressed and released through the system's input queue, as a user's
// would come: it goes to the window with the keyboard focus. True when
// both events were queued.
bool SendKeyPress(WORD virtualKey);

// Sets a value under a key of HKEY_CURRENT_USER, or of another root (made
// when missing), or removes it when type is REG_NONE; puts back what was
// there when the object goes.
class RegistryValue {
public:
  RegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
      : RegistryValue(HKEY_CURRENT_USER, key, name, type, data, size) {}
  RegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size);
  ~RegistryValue();
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

private:
  HKEY root_;
  std::wstring key_;
  std::wstring name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

// The password switch the saver reads.
inline RegistryValue UsePassword(DWORD type, const void* data, DWORD size) {
  return RegistryValue(L"Control Panel\\desktop", L"ScreenSaveUsePassword", type, data, size);
}

// The system's screen-saver-running flag as a fresh process reads it
// (Wine caches the value in each process after its first read).
bool ScreenSaverRunning();

// A fresh empty folder under the temporary folder, removed with its files.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }
  std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
  std::wstring path_;
};

std::string ReadFileText(const std::wstring& path);

// The saver's own settings in the registry (HKEY_CURRENT_USER).
void DeleteProductKey();
// Stores a text value in a subkey ("Settings", "Option", "BGM").
void PutSetting(const std::string& subkey, const std::string& name, const std::wstring& text);
// Stores a 32-bit number (REG_DWORD), a type the settings never hold.
void PutSettingDword(const std::string& subkey, const std::string& name, DWORD value);
// A stored text value; nothing when the value or its subkey is missing.
std::optional<std::wstring> Setting(const std::string& subkey, const std::string& name);
// The registry type of a stored value; REG_NONE when it is missing.
DWORD SettingType(const std::string& subkey, const std::string& name);

// What a window shows on the screen, as 0xRRGGBB values row by row.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool OneColour() const {
    for (uint32_t p : pixels)
      if (p != pixels.front()) return false;
    return true;
  }
  friend bool operator==(const Shot&, const Shot&) = default;
};

// The client area of a window as the screen shows it.
Shot Capture(HWND wnd);

// A 24-bit BMP file of one colour (0xRRGGBB).
void WriteSolidBmp(const std::wstring& path, int width, int height, uint32_t rgb);
// A 24-bit BMP file with the colour rgbAt(x, y) at each pixel, y from the top.
void WriteBmp(const std::wstring& path, int width, int height,
              const std::function<uint32_t(int x, int y)>& rgbAt);

}  // namespace tessivane::test
