// The page opener the help tests put in place of the browser. The
// including target defines TESSIVANE_OPEN_PROBE, the host path of
// tessivane_open_probe (tests/windows/dialogs/OpenProbe.cpp).
#pragma once
#include <windows.h>

#include <cwchar>
#include <string>

#include "shell/SaverHarness.h"

namespace tessivane::test {

// A program standing in for the browser: the shell opens ".html" files
// with it while the object lives, and it appends its command line to the
// file named by TESSIVANE_OPEN_PROBE_LOG. Wine's shell reads the file
// classes only from HKEY_CLASSES_ROOT, which has no ".html" of its own.
class PageOpener {
public:
  explicit PageOpener(const std::wstring& log)
      : extension_(HKEY_CLASSES_ROOT, L".html", L"", REG_SZ, kProgId, sizeof kProgId),
        command_(HKEY_CLASSES_ROOT, L"TessivaneTest.Page\\shell\\open\\command", L"", REG_SZ, Command(),
                 CommandBytes()),
        log_(log) {}
  ~PageOpener() { RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId); }
  std::wstring Environment() const { return L"TESSIVANE_OPEN_PROBE_LOG=" + log_; }

private:
  static constexpr wchar_t kProgId[] = L"TessivaneTest.Page";
  static const wchar_t* Command() {
    static const std::wstring command = L"\"" + HostToWindowsPath(TESSIVANE_OPEN_PROBE) + L"\" \"%1\"";
    return command.c_str();
  }
  static DWORD CommandBytes() { return static_cast<DWORD>((wcslen(Command()) + 1) * sizeof(wchar_t)); }

  RegistryValue extension_;
  RegistryValue command_;
  std::wstring log_;
};

}  // namespace tessivane::test
