// Layout of the dialogs built in code: controls are placed at pixel
// positions for 96 DPI and scaled to the window's DPI, with the dialogs'
// fonts; a DPI change (moving to another monitor) scales everything again.
// Also the tooltip window that shows the controls' hints.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/ErrorBoxes.h"
#include "base/ScopedWin.h"

namespace tessivane::dialogs {

inline constexpr UINT kLayoutDpi = 96;

// The DPI of a window: GetDpiForWindow where the system has it, else the
// screen's logical pixels per inch.
UINT WindowDpi(HWND wnd);
inline int ScaleForDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), kLayoutDpi); }

enum class FontRole {
  kNormal,  // 12 px, every control
  kPage,    // 16 px, the options dialog's pages
  kTitle,   // bold 21 px, the application name
  kCount
};

// The face of the dialogs' Japanese type: "ＭＳ Ｐゴシック" where installed,
// else a Japanese UI font the system has, else empty (the system's message
// font serves). CreateDialogFont uses the message font for English.
const std::wstring& DialogFontFace();
ScopedGdiObject<HFONT> CreateDialogFont(FontRole role, UINT dpi);

class DialogLayout {
public:
  DialogLayout(int clientWidth, int clientHeight) : client96_{clientWidth, clientHeight} {}
  DialogLayout(const DialogLayout&) = delete;
  DialogLayout& operator=(const DialogLayout&) = delete;

  // From WM_INITDIALOG: takes the dialog's DPI, makes the fonts and sizes
  // the client area. The layout keeps to 96..480 DPI (100 % to 500 %).
  void Attach(HWND dialog);
  // Creates a control at (x, y, w, h) in 96-DPI client pixels. The order of
  // the calls is the tab order.
  HWND Add(int id, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle, int x,
           int y, int w, int h, FontRole font = FontRole::kNormal);
  // From WM_DPICHANGED: new fonts, every control moved and resized, the
  // window placed at the rectangle the system suggests. A DPI outside
  // 96..480 counts as the nearer bound.
  void DpiChanged(UINT dpi, const RECT& suggested);

  // Puts a glyph of the resources (ids glyphId, + 1, + 2 for 16, 24 and 32
  // pixels) on a button, in the size nearest to 16 pixels at this DPI, and
  // again after each DPI change.
  void SetGlyph(int buttonId, int glyphId);

  // Centres the window on a rectangle of the screen.
  void CenterOn(const RECT& area) const;
  // Centres the window on the screen's work area.
  void CenterOnWorkArea() const;
  // Centres the window on its owner window, or on the work area when it
  // has none.
  void CenterOnOwner() const;

  UINT Dpi() const { return dpi_; }
  int Scale(int pixels) const { return ScaleForDpi(pixels, dpi_); }
  HFONT Font(FontRole role) const { return fonts_[static_cast<int>(role)].get(); }

private:
  struct Entry {
    HWND wnd;
    RECT rect;  // 96-DPI pixels
    FontRole font;
  };
  struct ImageListTraits : NullHandleTraits<HIMAGELIST> {
    static void Close(Type h) { ImageList_Destroy(h); }
  };
  struct Glyph {
    HWND button;
    int glyphId;
    ScopedHandle<ImageListTraits> images;
  };
  void CreateFonts();
  void Place(const Entry& entry) const;
  void ApplyGlyph(Glyph& glyph) const;
  SIZE WindowSize() const;
  void SizeClientArea() const;

  HWND dialog_ = nullptr;
  UINT dpi_ = kLayoutDpi;
  SIZE client96_;
  std::vector<Entry> entries_;
  std::vector<Glyph> glyphs_;
  ScopedGdiObject<HFONT> fonts_[static_cast<int>(FontRole::kCount)];
};

// How long a hint stays up, in every dialog.
inline constexpr int kHintShowMs = 5000;

// The tooltips of one dialog: one tooltip window, one tool per control;
// each hint stays up for kHintShowMs.
class HintWindow {
public:
  void Create(HWND dialog);
  // Texts may hold line breaks ("\r\n").
  void Add(HWND control, const std::wstring& text);
  HWND Handle() const { return tip_.get(); }

private:
  HWND dialog_ = nullptr;
  ScopedWindow tip_;
};

// The text of a control, any length.
std::wstring WindowText(HWND wnd);

// A message loop waiting in GetMessage handles messages sent to its
// thread inside that call and goes on waiting for a posted one. A dialog
// destroyed by a sent message (WM_CLOSE, a BM_CLICK on its cancel button,
// as accessibility tools send them) wakes its loop with an empty thread
// message, so that the loop sees its window gone.
void WakeDialogLoop();

// The dialog procedure of a dialog object that is the creation parameter
// (lParam of WM_INITDIALOG): the window's handle goes into the object's
// dialog_, every message to its Handle. An exception escaping a handler is
// shown in the standard error box and the message counts as handled. A
// handler that leaves the window destroyed wakes the dialog loops: a loop
// nested in it (a modal dialog, a message box) may have taken an earlier
// wake-up for itself.
template <class Dialog>
INT_PTR CALLBACK DialogProcOf(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
  }
  if (!self) return FALSE;
  struct WakeIfDestroyed {
    HWND dialog;
    ~WakeIfDestroyed() {
      if (!IsWindow(dialog)) WakeDialogLoop();
    }
  } wake{dialog};
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    HandleException();
    return TRUE;
  }
}

// Makes the dialog-manager window of an empty in-memory template: the
// dialogs create their controls themselves in WM_INITDIALOG. The caption
// is set afterwards with SetWindowTextW.
class EmptyDialogTemplate {
public:
  explicit EmptyDialogTemplate(DWORD style);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  std::vector<WORD> words_;
};

// The path of the first file of a drop from the shell (empty when the drop
// holds none); the drop is released in every case.
std::wstring TakeFirstDroppedFile(HDROP drop);

}  // namespace tessivane::dialogs
