// Owners for Win32 handles and paired calls (Windows builds only): the
// traits of ScopedHandle for each kind of handle, and small scope guards.
#pragma once
#include <windows.h>

#include "base/ScopedHandle.h"

namespace tessivane {

// Handles whose only "none" is null.
template <class T>
struct NullHandleTraits {
  using Type = T;
  static Type None() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr; }
};

// Handles of which the API family answers failure with null in some calls
// and INVALID_HANDLE_VALUE in others: both count as "none".
struct EitherInvalidTraits {
  using Type = HANDLE;
  static Type None() { return nullptr; }
  static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
};

struct ModuleTraits : NullHandleTraits<HMODULE> {
  static void Close(Type h) { FreeLibrary(h); }
};
using ScopedModule = ScopedHandle<ModuleTraits>;

struct KeyTraits : NullHandleTraits<HKEY> {
  static void Close(Type h) { RegCloseKey(h); }
};
using ScopedKey = ScopedHandle<KeyTraits>;

struct WindowTraits : NullHandleTraits<HWND> {
  static void Close(Type h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
using ScopedWindow = ScopedHandle<WindowTraits>;

// Kernel objects (processes, threads, files, events): CreateFile fails with
// INVALID_HANDLE_VALUE, most others with null.
struct KernelTraits : EitherInvalidTraits {
  static void Close(Type h) { CloseHandle(h); }
};
using ScopedKernelHandle = ScopedHandle<KernelTraits>;

// A view of a file mapping (MapViewOfFile).
struct MappedViewTraits : NullHandleTraits<void*> {
  static void Close(Type h) { UnmapViewOfFile(h); }
};
using ScopedMappedView = ScopedHandle<MappedViewTraits>;

// A directory search from FindFirstFileW, which fails with INVALID_HANDLE_VALUE.
struct FindTraits : EitherInvalidTraits {
  static void Close(Type h) { FindClose(h); }
};
using ScopedFind = ScopedHandle<FindTraits>;

// Memory the system allocated with LocalAlloc (CommandLineToArgvW, FormatMessage).
struct LocalTraits : NullHandleTraits<HLOCAL> {
  static void Close(Type h) { LocalFree(h); }
};
using ScopedLocal = ScopedHandle<LocalTraits>;

// An icon or cursor made by LoadImage (not a shared one) or CreateIcon*.
struct IconTraits : NullHandleTraits<HICON> {
  static void Close(Type h) { DestroyIcon(h); }
};
using ScopedIcon = ScopedHandle<IconTraits>;

// A GDI object (brush, pen, bitmap, font, region) not selected into a DC.
template <class T>
struct GdiTraits : NullHandleTraits<T> {
  static void Close(T h) { DeleteObject(h); }
};
template <class T>
using ScopedGdiObject = ScopedHandle<GdiTraits<T>>;

// A memory DC from CreateCompatibleDC.
struct MemoryDCTraits : NullHandleTraits<HDC> {
  static void Close(Type h) { DeleteDC(h); }
};
using ScopedMemoryDC = ScopedHandle<MemoryDCTraits>;

// Selects a GDI object into a DC and puts the previous one back.
class ScopedSelect {
public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's DC from GetDC, released on scope exit.
class ScopedWindowDC {
public:
  explicit ScopedWindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC get() const { return dc_; }

private:
  HWND wnd_;
  HDC dc_;
};

// The cursor's display counter moved by one step, and moved back on scope
// exit: ScopedCursor(false) hides the cursor for its lifetime,
// ScopedCursor(true) shows it.
class ScopedCursor {
public:
  explicit ScopedCursor(bool show) : show_(show) { ShowCursor(show ? TRUE : FALSE); }
  ~ScopedCursor() { ShowCursor(show_ ? FALSE : TRUE); }
  ScopedCursor(const ScopedCursor&) = delete;
  ScopedCursor& operator=(const ScopedCursor&) = delete;

private:
  bool show_;
};

}  // namespace tessivane
