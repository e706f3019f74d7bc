#include <windows.h>

#include "base/Utf.h"
#include "pattern/PluginLibrary.h"

namespace tessivane {

PluginLibrary PluginLibrary::Open(const std::string& fileName) {
  // Keep the system's own "bad image" / "no disk" boxes away: the caller
  // reports a failed load itself.
  DWORD previous = 0;
  const BOOL modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
  HMODULE module = LoadLibraryW(Widen(fileName).c_str());
  if (modeSet) SetThreadErrorMode(previous, nullptr);
  return PluginLibrary(reinterpret_cast<void*>(module));
}

PluginLibrary::AnyProc PluginLibrary::FindSymbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<AnyProc>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void PluginLibrary::Close() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(std::exchange(handle_, nullptr)));
}

}  // namespace tessivane
