// Tiny owners for Win32 handles and paired calls. Every handle the shell
// opens lives in one of these, so nothing is closed by hand and every path
// out of a function releases what it took.
#pragma once
#include <windows.h>

#include <utility>

namespace tessivane {

// A move-only owner of one handle. Traits give the handle type, the value
// meaning "none" and the function that releases it.
template <class Traits>
class ScopedHandle {
public:
  using Type = typename Traits::Type;

  ScopedHandle() = default;
  explicit ScopedHandle(Type handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::None(); }

  // Gives up ownership without releasing.
  Type release() { return std::exchange(handle_, Traits::None()); }

  void reset(Type handle = Traits::None()) {
    Type old = std::exchange(handle_, handle);
    if (old != Traits::None()) Traits::Close(old);
  }

private:
  Type handle_ = Traits::None();
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type None() { return nullptr; }
  static void Close(Type h) { FreeLibrary(h); }
};
using ScopedModule = ScopedHandle<ModuleTraits>;

struct KeyTraits {
  using Type = HKEY;
  static Type None() { return nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};
using ScopedKey = ScopedHandle<KeyTraits>;

struct WindowTraits {
  using Type = HWND;
  static Type None() { return nullptr; }
  static void Close(Type h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
using ScopedWindow = ScopedHandle<WindowTraits>;

// Kernel objects (processes, threads, files); "none" is the null handle, and
// INVALID_HANDLE_VALUE from CreateFile is turned into it by the caller.
struct KernelTraits {
  using Type = HANDLE;
  static Type None() { return nullptr; }
  static void Close(Type h) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using ScopedKernelHandle = ScopedHandle<KernelTraits>;

// A directory search from FindFirstFileW; INVALID_HANDLE_VALUE is "none".
struct FindTraits {
  using Type = HANDLE;
  static Type None() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};
using ScopedFind = ScopedHandle<FindTraits>;

// Memory the system allocated with LocalAlloc (CommandLineToArgvW, FormatMessage).
struct LocalTraits {
  using Type = HLOCAL;
  static Type None() { return nullptr; }
  static void Close(Type h) { LocalFree(h); }
};
using ScopedLocal = ScopedHandle<LocalTraits>;

// An icon or cursor made by LoadImage (not a shared one) or CreateIcon*.
struct IconTraits {
  using Type = HICON;
  static Type None() { return nullptr; }
  static void Close(Type h) { DestroyIcon(h); }
};
using ScopedIcon = ScopedHandle<IconTraits>;

// A GDI object (brush, pen, bitmap, font, region) not selected into a DC.
template <class T>
struct GdiTraits {
  using Type = T;
  static Type None() { return nullptr; }
  static void Close(Type h) { DeleteObject(h); }
};
template <class T>
using ScopedGdiObject = ScopedHandle<GdiTraits<T>>;

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
