#include "shell/DynCalls.h"

#include <string>

namespace tessivane {

void HardenLibrarySearch() {
  // SetDefaultDllDirectories exists from Windows 8 on, and on Windows 7 with
  // its loader update; look it up so the program still starts without it.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  using SetDefaultDllDirectoriesProc = decltype(&::SetDefaultDllDirectories);
  auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesProc>(
                                 reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                           : nullptr;
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  // Takes the current folder out of the classic search order as well.
  SetDllDirectoryW(L"");
}

ScopedModule LoadSystemLibrary(const wchar_t* fileName) {
  ScopedModule module(LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // A loader without the search flags: name the file by its full path.
  wchar_t dir[MAX_PATH];
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return module;
  std::wstring path(dir, n);
  path += L'\\';
  path += fileName;
  module.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  return module;
}

}  // namespace tessivane
