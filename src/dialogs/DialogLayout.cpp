#include "dialogs/DialogLayout.h"

#include <commctrl.h>

#include <algorithm>
#include "base/Texts.h"

namespace tessivane::dialogs {

namespace {

// user32's DPI functions of Windows 10 and later, looked up at run time
// (the build targets Windows 7); nullptr on older systems, which then use
// the DPI of the screen DC.
using GetDpiForWindowProc = UINT(WINAPI*)(HWND wnd);
using AdjustWindowRectExForDpiProc = BOOL(WINAPI*)(RECT* rect, DWORD style, BOOL menu, DWORD exStyle,
                                                   UINT dpi);
using SystemParametersInfoForDpiProc = BOOL(WINAPI*)(UINT action, UINT param, void* data, UINT winIni,
                                                     UINT dpi);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND dialog, int mask, int values);

template <class Proc>
Proc User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

GetDpiForWindowProc GetDpiForWindowFunction() {
  static const auto f = User32Function<GetDpiForWindowProc>("GetDpiForWindow");
  return f;
}
AdjustWindowRectExForDpiProc AdjustWindowRectExForDpiFunction() {
  static const auto f = User32Function<AdjustWindowRectExForDpiProc>("AdjustWindowRectExForDpi");
  return f;
}
SystemParametersInfoForDpiProc SystemParametersInfoForDpiFunction() {
  static const auto f = User32Function<SystemParametersInfoForDpiProc>("SystemParametersInfoForDpi");
  return f;
}
SetDialogDpiChangeBehaviorProc SetDialogDpiChangeBehaviorFunction() {
  static const auto f = User32Function<SetDialogDpiChangeBehaviorProc>("SetDialogDpiChangeBehavior");
  return f;
}

// The DPIs the layout takes: the display scales the system offers, 100 %
// to 500 %. A DPI outside them (an absurd WM_DPICHANGED) is brought to the
// nearer bound instead of scaling the controls off the window.
constexpr UINT kMinDpi = kLayoutDpi;
constexpr UINT kMaxDpi = 5 * kLayoutDpi;
UINT SaneDpi(UINT dpi) { return std::clamp(dpi, kMinDpi, kMaxDpi); }

}  // namespace

UINT WindowDpi(HWND wnd) {
  if (auto getDpi = GetDpiForWindowFunction()) {
    if (UINT dpi = getDpi(wnd)) return dpi;
  }
  ScopedWindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kLayoutDpi;
}

namespace {

// The faces tried in order: the dialogs' own, then Japanese UI faces that
// Windows versions ship (each with its Japanese glyphs).
const wchar_t* const kPreferredFaces[] = {L"ＭＳ Ｐゴシック", L"MS PGothic", L"Yu Gothic UI", L"Meiryo UI",
                                          L"MS UI Gothic",    L"メイリオ",   L"Meiryo"};

// Whether the system makes a Japanese font of this face: listed among the
// Shift-JIS faces, or given under this name by the font mapper (a face
// that the system substitutes is not listed but still draws).
bool HasJapaneseFace(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool listed = false;
  EnumFontFamiliesExW(
      dc, &query,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int CALLBACK {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&listed), 0);
  if (listed) return true;
  ScopedGdiObject<HFONT> font(CreateFontIndirectW(&query));
  if (!font) return false;
  ScopedSelect select(dc, font.get());
  wchar_t made[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, made);
  return lstrcmpiW(made, face) == 0 && GetTextCharset(dc) == SHIFTJIS_CHARSET;
}

// Any proportional horizontal Shift-JIS face, for systems with none of the
// preferred ones.
std::wstring AnyJapaneseFace(HDC dc) {
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring found;
  EnumFontFamiliesExW(
      dc, &query,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM result) -> int CALLBACK {
        if (font->lfFaceName[0] == L'@' || (font->lfPitchAndFamily & 3) != VARIABLE_PITCH) return 1;
        *reinterpret_cast<std::wstring*>(result) = font->lfFaceName;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring FindFace() {
  ScopedWindowDC screen(nullptr);
  if (!screen.get()) return {};
  for (const wchar_t* face : kPreferredFaces) {
    if (HasJapaneseFace(screen.get(), face)) return face;
  }
  return AnyJapaneseFace(screen.get());
}

// The system's message font at a DPI (its face serves when no Japanese
// face is installed).
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (auto forDpi = SystemParametersInfoForDpiFunction()) {
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics.lfMessageFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics.lfMessageFont;
}

}  // namespace

const std::wstring& DialogFontFace() {
  static const std::wstring face = FindFace();
  return face;
}

ScopedGdiObject<HFONT> CreateDialogFont(FontRole role, UINT dpi) {
  LOGFONTW font{};
  // English texts take the system's message font; Japanese ones a Japanese face.
  const std::wstring& face = CurrentLanguage() == Language::kJapanese ? DialogFontFace() : std::wstring();
  if (face.empty()) {
    font = MessageFont(dpi);
  } else {
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    font.lfCharSet = SHIFTJIS_CHARSET;
  }
  const int pixels = role == FontRole::kTitle ? 21 : role == FontRole::kPage ? 16 : 12;
  font.lfHeight = -ScaleForDpi(pixels, dpi);
  font.lfWidth = 0;
  font.lfWeight = role == FontRole::kTitle ? FW_BOLD : FW_NORMAL;
  font.lfQuality = DEFAULT_QUALITY;
  return ScopedGdiObject<HFONT>(CreateFontIndirectW(&font));
}

void DialogLayout::Attach(HWND dialog) {
  dialog_ = dialog;
  // The layout scales itself; the dialog manager must not scale it again.
  if (auto setBehavior = SetDialogDpiChangeBehaviorFunction()) {
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    setBehavior(dialog, kDisableAll, kDisableAll);
  }
  dpi_ = SaneDpi(WindowDpi(dialog));
  CreateFonts();
  SizeClientArea();
}

// The window's size for the scaled client area. Where the frame does not
// grow with the DPI as the system's metrics say (some systems keep it),
// the measured client area corrects the size once.
void DialogLayout::SizeClientArea() const {
  const SIZE size = WindowSize();
  const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(dialog_, nullptr, 0, 0, size.cx, size.cy, flags);
  RECT client{};
  GetClientRect(dialog_, &client);
  const int dx = Scale(client96_.cx) - client.right;
  const int dy = Scale(client96_.cy) - client.bottom;
  if (dx != 0 || dy != 0) SetWindowPos(dialog_, nullptr, 0, 0, size.cx + dx, size.cy + dy, flags);
}

void DialogLayout::CreateFonts() {
  for (int role = 0; role < static_cast<int>(FontRole::kCount); ++role) {
    fonts_[role] = CreateDialogFont(static_cast<FontRole>(role), dpi_);
  }
}

SIZE DialogLayout::WindowSize() const {
  RECT rect{0, 0, Scale(client96_.cx), Scale(client96_.cy)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
  if (auto adjust = AdjustWindowRectExForDpiFunction()) {
    adjust(&rect, style, FALSE, exStyle, dpi_);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND DialogLayout::Add(int id, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                       int x, int y, int w, int h, FontRole font) {
  Entry entry{nullptr, {x, y, x + w, y + h}, font};
  entry.wnd =
      CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, Scale(x), Scale(y),
                      Scale(w), Scale(h), dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE)), nullptr);
  if (!entry.wnd) return nullptr;
  SendMessageW(entry.wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), FALSE);
  entries_.push_back(entry);
  return entry.wnd;
}

void DialogLayout::Place(const Entry& entry) const {
  const RECT& r = entry.rect;
  SetWindowPos(entry.wnd, nullptr, Scale(r.left), Scale(r.top), Scale(r.right - r.left),
               Scale(r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(entry.wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(entry.font)), TRUE);
}

void DialogLayout::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0) return;
  // The old fonts stay alive until every control has taken its new one.
  ScopedGdiObject<HFONT> old[static_cast<int>(FontRole::kCount)];
  for (int role = 0; role < static_cast<int>(FontRole::kCount); ++role) old[role] = std::move(fonts_[role]);
  dpi_ = SaneDpi(dpi);
  CreateFonts();
  for (const Entry& entry : entries_) Place(entry);
  for (Glyph& glyph : glyphs_) ApplyGlyph(glyph);
  SetWindowPos(dialog_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SizeClientArea();
  InvalidateRect(dialog_, nullptr, TRUE);
}

void DialogLayout::SetGlyph(int buttonId, int glyphId) {
  HWND button = GetDlgItem(dialog_, buttonId);
  if (!button) return;
  glyphs_.push_back({button, glyphId, {}});
  ApplyGlyph(glyphs_.back());
}

void DialogLayout::ApplyGlyph(Glyph& glyph) const {
  // 16 pixels at 96 DPI, 24 at 144, 32 at 192 and above.
  const int wanted = Scale(16);
  const int step = wanted >= 28 ? 2 : wanted >= 20 ? 1 : 0;
  const int size = 16 + 8 * step;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE));
  // A 32-bit bitmap with premultiplied alpha, drawn by the image list.
  ScopedGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(glyph.glyphId + step), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return;
  ScopedHandle<ImageListTraits> images(ImageList_Create(size, size, ILC_COLOR32, 1, 0));
  if (!images || ImageList_Add(images.get(), bitmap.get(), nullptr) < 0) return;
  BUTTON_IMAGELIST list{};
  list.himl = images.get();
  list.margin = {Scale(2), 0, 0, 0};
  list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  SendMessageW(glyph.button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  glyph.images = std::move(images);  // the button uses the list; the old one goes now
}

void DialogLayout::CenterOn(const RECT& area) const {
  RECT window{};
  GetWindowRect(dialog_, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogLayout::CenterOnWorkArea() const {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CenterOn(work);
}

void DialogLayout::CenterOnOwner() const {
  RECT owner{};
  HWND ownerWindow = GetWindow(dialog_, GW_OWNER);
  if (!ownerWindow || !GetWindowRect(ownerWindow, &owner)) return CenterOnWorkArea();
  CenterOn(owner);
}

std::wstring WindowText(HWND wnd) {
  const int length = GetWindowTextLengthW(wnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), length + 1)));
  return text;
}

void HintWindow::Create(HWND dialog) {
  dialog_ = dialog;
  tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)),
                             nullptr));
  if (!tip_) return;
  // A width limit makes the tooltip break lines at "\r\n".
  SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(480, WindowDpi(dialog)));
  SendMessageW(tip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kHintShowMs, 0));
}

void HintWindow::Add(HWND control, const std::wstring& text) {
  if (!tip_ || !control || text.empty()) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // the tooltip keeps its own copy
  SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

EmptyDialogTemplate::EmptyDialogTemplate(DWORD style) {
  // DLGTEMPLATE: style, extended style, no items, position and size 0; then
  // no menu, the standard dialog class, an empty title.
  words_.resize(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words_.data());
  header->style = style;
}

void WakeDialogLoop() { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); }

std::wstring TakeFirstDroppedFile(HDROP drop) {
  struct Release {
    HDROP drop;
    ~Release() { DragFinish(drop); }
  } release{drop};
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return {};
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring path(static_cast<size_t>(length) + 1, L'\0');
  path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
  return path;
}

}  // namespace tessivane::dialogs
