// Time bounds of the window-level tests (Wine on a loaded machine is slow:
// the bounds are generous, the waits that a test always pays are short).
#pragma once
#include <windows.h>

#include <string>

namespace tessivane::test {

constexpr DWORD kStartBound = 20000;  // until the first window is up
constexpr DWORD kExitBound = 10000;   // until the process has ended
constexpr DWORD kWarmUp = 1600;       // past the saver's one-second mouse warm-up
constexpr DWORD kProbeBound = 10000;  // for a helper program to end
constexpr DWORD kSettle = 400;        // for posted input to be handled

inline std::wstring HandleText(HWND wnd) { return std::to_wstring(HandleToLong(wnd)); }

}  // namespace tessivane::test
