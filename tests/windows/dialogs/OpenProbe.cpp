// Stands in for the program the shell opens a page with: appends its
// command line (UTF-8, one line) to the file named by the environment
// variable TESSIVANE_OPEN_PROBE_LOG, so a test sees what was opened.
#include <windows.h>

#include <string>

#include "base/Utf.h"
#include "base/ScopedWin.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t log[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TESSIVANE_OPEN_PROBE_LOG", log, MAX_PATH)) return 2;
  tessivane::ScopedKernelHandle file(CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  const std::string line = tessivane::Narrow(GetCommandLineW()) + "\n";
  DWORD written = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return 0;
}
