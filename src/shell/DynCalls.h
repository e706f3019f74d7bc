// Libraries and entry points that the program finds at run time, all looked
// up here, from the system directory only, with types taken from the
// declarations below.
#pragma once
#include <windows.h>

#include "base/ScopedWin.h"

namespace tessivane {

namespace dyn {
// The system's screen-saver password services (declared only for their
// types; PASSWORD.CPL and MPR.DLL define them).
BOOL WINAPI VerifyScreenSavePwd(HWND wnd);
DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND wnd, DWORD reserved1, DWORD reserved2);

using VerifyScreenSavePwdProc = decltype(&VerifyScreenSavePwd);
using PwdChangePasswordAProc = decltype(&PwdChangePasswordA);
}  // namespace dyn

// First thing at start: libraries are never taken from the current folder,
// and the default search covers the program's folder and the system only.
void HardenLibrarySearch();

// Loads a library of the operating system from the system directory, never
// through the search order (a planted file of that name elsewhere is never
// run). Empty when the system has no such library.
ScopedModule LoadSystemLibrary(const wchar_t* fileName);

// An export of a loaded library, typed; nullptr when it is missing.
template <class Proc>
Proc GetProc(const ScopedModule& module, const char* exportName) {
  if (!module) return nullptr;
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module.get(), exportName)));
}

}  // namespace tessivane
