// Stand-in for the system's PASSWORD.CPL and MPR.DLL, built under both
// names. It notes in the file named by TESSIVANE_FAKE_LOG (when set) every
// load, with the path it was loaded from, and every call. A copy planted
// outside the system folder must never get as far as a note.
#include <windows.h>

#include "base/ScopedWin.h"

namespace {

void Note(const wchar_t* text) {
  wchar_t log[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"TESSIVANE_FAKE_LOG", log, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  tessivane::ScopedKernelHandle file(CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  char utf8[4 * MAX_PATH];
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  DWORD written = 0;
  if (bytes > 1) WriteFile(file.get(), utf8, static_cast<DWORD>(bytes - 1), &written, nullptr);
  WriteFile(file.get(), "\n", 1, &written, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH + 8] = L"loaded ";
    GetModuleFileNameW(instance, path + 7, MAX_PATH);
    Note(path);
  }
  return TRUE;
}

// Accepts the password when the file named by TESSIVANE_FAKE_ACCEPT exists.
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
  Note(L"verify");
  wchar_t accept[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"TESSIVANE_FAKE_ACCEPT", accept, MAX_PATH);
  return n > 0 && n < MAX_PATH && GetFileAttributesW(accept) != INVALID_FILE_ATTRIBUTES;
}

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR, HWND, DWORD, DWORD) {
  Note(L"change");
  return 0;
}
