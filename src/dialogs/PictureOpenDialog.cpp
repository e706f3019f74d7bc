#include "dialogs/PictureOpenDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "base/Bitmap.h"
#include "base/Utf.h"
#include "codecs/PictureLoader.h"
#include "base/Texts.h"

namespace tessivane::dialogs {

namespace {

constexpr DWORD kPathCapacity = 32768;  // the longest path Windows takes
constexpr int kPreviewId = 100;
constexpr int kPreviewMaxSide = 320;  // the preview keeps at most this many pixels a side

// The picture under the cursor of the open dialog, reduced for showing.
struct Preview {
  Bitmap picture;  // empty when the selection is no loadable picture
  std::wstring path;
};

// Every n-th pixel of a large picture, so the preview holds little memory
// however large the file is; the painting smooths what is left.
Bitmap Reduce(const Bitmap& source) {
  const int longest = std::max(source.Width(), source.Height());
  if (longest <= kPreviewMaxSide) return source;
  const int width = std::max(1, static_cast<int>(int64_t{source.Width()} * kPreviewMaxSide / longest));
  const int height = std::max(1, static_cast<int>(int64_t{source.Height()} * kPreviewMaxSide / longest));
  Bitmap reduced(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = source.Row(static_cast<int>(int64_t{y} * source.Height() / height));
    uint8_t* to = reduced.Row(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* pixel = from + 3 * (int64_t{x} * source.Width() / width);
      std::copy(pixel, pixel + 3, to + 3 * x);
    }
  }
  return reduced;
}

void LoadPreview(Preview& preview, const std::wstring& path) {
  if (path == preview.path) return;
  preview.path = path;
  preview.picture = Bitmap();
  if (path.empty()) return;
  try {
    preview.picture = Reduce(LoadPicture(Narrow(path)));
  } catch (const std::exception&) {
    // Not a picture (or a folder, or unreadable): no preview.
  }
}

// The picture scaled to fit the area, centred, proportions kept.
void PaintPreview(const Preview& preview, const DRAWITEMSTRUCT& item) {
  const RECT& area = item.rcItem;
  FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
  const Bitmap& picture = preview.picture;
  if (picture.Empty()) return;
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  int width = areaWidth;
  int height = static_cast<int>(int64_t{picture.Height()} * areaWidth / picture.Width());
  if (height > areaHeight) {
    height = areaHeight;
    width = static_cast<int>(int64_t{picture.Width()} * areaHeight / picture.Height());
  }
  if (width > picture.Width() && height > picture.Height()) {  // never enlarge
    width = picture.Width();
    height = picture.Height();
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.Width();
  info.bmiHeader.biHeight = -picture.Height();  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(item.hDC, HALFTONE);
  SetBrushOrgEx(item.hDC, 0, 0, nullptr);
  StretchDIBits(item.hDC, area.left + (areaWidth - width) / 2, area.top + (areaHeight - height) / 2, width,
                height, 0, 0, picture.Width(), picture.Height(), picture.Data(), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

// The preview fills the child dialog below the open dialog's own controls
// (some systems give the child the whole dialog, others only the part
// below the standard controls).
void FitPreviewArea(HWND child) {
  RECT client{};
  GetClientRect(child, &client);
  const int margin = 4;
  int top = margin;
  HWND dialog = GetParent(child);
  const int standardControls[] = {
      IDOK, IDCANCEL, 0x470 /* file types */, 0x441 /* its label */, 0x47c /* file name */,
      0x410 /* read-only */};
  for (int id : standardControls) {
    HWND control = GetDlgItem(dialog, id);
    if (!control || !(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE))
      continue;  // the dialog may be hidden yet
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, child, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.bottom + margin > top) top = rect.bottom + margin;
  }
  SetWindowPos(GetDlgItem(child, kPreviewId), nullptr, margin, top, std::max(0L, client.right - 2 * margin),
               std::max(0L, client.bottom - top - margin), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The hook of the child dialog below the standard controls: it holds the
// preview area and follows the selection.
UINT_PTR CALLBACK PreviewHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  auto* preview = reinterpret_cast<Preview*>(GetWindowLongPtrW(child, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lParam);
      SetWindowLongPtrW(child, DWLP_USER, dialog->lCustData);
      CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 0, 0,
                      child, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreviewId)), nullptr, nullptr);
      FitPreviewArea(child);
      return TRUE;
    }
    case WM_SIZE:
      FitPreviewArea(child);
      return TRUE;
    case WM_NOTIFY: {
      const auto* notice = reinterpret_cast<const OFNOTIFYW*>(lParam);
      if (notice->hdr.code == CDN_INITDONE) FitPreviewArea(child);
      if (!preview || (notice->hdr.code != CDN_SELCHANGE && notice->hdr.code != CDN_FOLDERCHANGE))
        return FALSE;
      std::wstring path(kPathCapacity, L'\0');
      const LRESULT length = SendMessageW(GetParent(child), CDM_GETFILEPATH, kPathCapacity,
                                          reinterpret_cast<LPARAM>(path.data()));
      path.resize(length > 0 ? wcslen(path.c_str()) : 0);
      LoadPreview(*preview, notice->hdr.code == CDN_SELCHANGE ? path : std::wstring());
      InvalidateRect(GetDlgItem(child, kPreviewId), nullptr, FALSE);
      return FALSE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!preview || item->CtlID != kPreviewId) return FALSE;
      PaintPreview(*preview, *item);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// The child dialog template: an empty child of the open dialog, placed
// below its standard controls, sized in dialog units.
std::vector<WORD> PreviewTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
  header->cx = 120;
  header->cy = 110;
  return words;
}

std::wstring RunOpenDialog(OPENFILENAMEW& dialog) {
  std::wstring path(kPathCapacity, L'\0');
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  if (!GetOpenFileNameW(&dialog)) return {};
  path.resize(wcslen(path.c_str()));
  return path;
}

}  // namespace

std::wstring FilterFromBars(const std::wstring& bars) {
  std::wstring filter = bars;
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

std::wstring ChoosePictureFile(HWND owner) {
  const std::wstring filter = FilterFromBars(Widen(Tr(TextId::kPictureDialogFilter)));
  const std::wstring title = Widen(Tr(TextId::kPictureDialogTitle));
  const std::wstring extension = L"bmp";
  std::vector<WORD> childTemplate = PreviewTemplate();
  Preview preview;
  OPENFILENAMEW dialog{};
  dialog.hwndOwner = owner;
  // With OFN_ENABLETEMPLATEHANDLE this field carries the template itself.
  dialog.hInstance = reinterpret_cast<HINSTANCE>(childTemplate.data());
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER |
                 OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_ENABLESIZING;
  dialog.lpfnHook = &PreviewHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(&preview);
  return RunOpenDialog(dialog);
}

std::wstring ChoosePluginFile(HWND owner) {
  const std::wstring filter = FilterFromBars(Widen(Tr(TextId::kPluginDialogFilter)));
  OPENFILENAMEW dialog{};
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  return RunOpenDialog(dialog);
}

}  // namespace tessivane::dialogs
