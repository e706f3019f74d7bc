#include "dialogs/OptionsDialog.h"

#include <commctrl.h>

#include <exception>
#include <vector>

#include "base/Errors.h"
#include "base/Utf.h"
#include "dialogs/ControlIds.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/DialogResources.h"
#include "base/Texts.h"
#include "dialogs/OptionsDialogModel.h"
#include "dialogs/UnreadableValues.h"
#include "base/ErrorBoxes.h"

namespace tessivane::dialogs {

namespace {

constexpr int kClientWidth = 331;
constexpr int kClientHeight = 234;
constexpr int kStripHeight = 41;  // the button strip below the pages
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;

std::wstring W(const char* utf8) { return Widen(utf8); }

class OptionsDialog {
public:
  OptionsDialog() : layout_(kClientWidth, kClientHeight) {}
  const std::vector<std::string>& UnreadableValues() const { return model_.Record().UnreadableValues(); }

private:
  friend INT_PTR CALLBACK tessivane::dialogs::DialogProcOf<OptionsDialog>(HWND, UINT, WPARAM, LPARAM);

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG: {
        SetWindowTextW(dialog_, OptionsCaption().c_str());
        layout_.Attach(dialog_);
        CreateControls();
        ShowPage(kPageDistortedSquare);
        layout_.CenterOnOwner();
        return TRUE;
      }
      case WM_ACTIVATE:
        // The controls show the record at every activation, except when
        // the dialog gets back from its own error box: the rejected input
        // stays for the user to correct.
        if (LOWORD(wParam) != WA_INACTIVE && created_ && !showingMessage_)
          ShowControls(model_.ActivationControls());
        return FALSE;
      case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kIdOptionsTabs && header->code == TCN_SELCHANGE) {
          ShowPage(static_cast<int>(SendDlgItemMessageW(dialog_, kIdOptionsTabs, TCM_GETCURSEL, 0, 0)));
        }
        return FALSE;
      }
      case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            PageColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      case WM_HSCROLL:
        OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return TRUE;
      case WM_DPICHANGED:
        layout_.DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        SizeListColumns();
        return TRUE;
      default:
        return FALSE;
    }
  }

  void CreateControls() {
    DialogLayout& l = layout_;
    const wchar_t* const S = WC_STATICW;
    const wchar_t* const B = WC_BUTTONW;
    const FontRole page = FontRole::kPage;
    hints_.Create(dialog_);

    // The English page names are about half as long again as the Japanese
    // ones: in the pages' larger font the four no longer fit in one row and
    // the strip would hide the last behind scroll arrows, so English tabs
    // take the normal font.
    const FontRole tabFont = CurrentLanguage() == Language::kJapanese ? page : FontRole::kNormal;
    HWND tabs = l.Add(kIdOptionsTabs, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 4, 4,
                      kClientWidth - 8, kClientHeight - kStripHeight - 4, tabFont);
    const char* const captions[] = {Tr(TextId::kDistortedSquarePage), Tr(TextId::kRectanglePage),
                                    Tr(TextId::kNoConversionPage), Tr(TextId::kRandomPage)};
    for (int i = 0; i < 4; ++i) {
      std::wstring caption = W(captions[i]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }

    pages_[kPageDistortedSquare] = {
        l.Add(kIdDistortValueLabel, S, W(Tr(TextId::kDistortValueLabel)), SS_LEFT, 0, 32, 56, 200, 20, page),
        l.Add(kIdDistortValueEdit, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 32, 82, 64,
              26, page),
    };
    AddAspectPage(kPageRectangle, kIdRectangleAspectLabel, kIdRectangleAspectScroll, kIdRectangleWideLabel,
                  kIdRectangleSquareLabel, kIdRectangleTallLabel);
    AddAspectPage(kPageNoConversion, kIdNoConversionAspectLabel, kIdNoConversionAspectScroll,
                  kIdNoConversionWideLabel, kIdNoConversionSquareLabel, kIdNoConversionTallLabel);

    // Two columns of rows of about 16 pixels, with room for every method.
    const int listHeight = (RandomListCount() + 1) / 2 * 16 + 12;
    HWND list = l.Add(kIdRandomList, WC_LISTVIEWW, L"",
                      WS_TABSTOP | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER, 0, 20,
                      94, 291, listHeight);
    pages_[kPageRandom] = {
        l.Add(kIdRandomLabel, S, W(Tr(TextId::kRandomExplanation)), SS_LEFT, 0, 20, 40, 291, 42, page),
        l.Add(kIdRandomSeparator, S, L"", SS_ETCHEDHORZ, 0, 20, 86, 291, 2),
        list,
    };
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    // Borderless on the page's colour, so the list reads as part of the page.
    SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    for (int position = 0; position < RandomListCount(); ++position) {
      std::wstring label = Widen(std::string(RandomListLabel(position)));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = position;
      item.pszText = label.data();
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SizeListColumns();

    const int buttonTop = kClientHeight - kStripHeight + 8;
    l.Add(kIdOkButton, B, W(Tr(TextId::kOkButton)), WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 66,
          buttonTop, 81, 25);
    l.Add(kIdCancelButton, B, W(Tr(TextId::kCancelButton)), WS_TABSTOP | BS_PUSHBUTTON, 0, 154, buttonTop, 81,
          25);
    l.Add(kIdOptionsUpdateButton, B, W(Tr(TextId::kUpdateButton)), WS_TABSTOP | BS_PUSHBUTTON, 0, 242,
          buttonTop, 81, 25);
    l.SetGlyph(kIdOkButton, IDB_GLYPH_OK);
    l.SetGlyph(kIdCancelButton, IDB_GLYPH_CANCEL);
    l.SetGlyph(kIdOptionsUpdateButton, IDB_GLYPH_UPDATE);
    hints_.Add(GetDlgItem(dialog_, kIdOkButton), W(Tr(TextId::kOptionsOkHint)));
    hints_.Add(GetDlgItem(dialog_, kIdCancelButton), W(Tr(TextId::kCancelHint)));
    hints_.Add(GetDlgItem(dialog_, kIdOptionsUpdateButton), W(Tr(TextId::kOptionsUpdateHint)));
    created_ = true;
  }

  // The aspect pages: the caption, the scroll bar and above it the three
  // labels over its left end, middle and right end.
  void AddAspectPage(int page, int labelId, int scrollId, int wideId, int squareId, int tallId) {
    DialogLayout& l = layout_;
    const wchar_t* const S = WC_STATICW;
    const FontRole font = FontRole::kPage;
    HWND bar = l.Add(scrollId, WC_SCROLLBARW, L"", WS_TABSTOP | SBS_HORZ, 0, 40, 112, 251, 20);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, kAspectMin, kAspectMax, 0, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    pages_[page] = {
        l.Add(labelId, S, W(Tr(TextId::kAspectLabel)), SS_LEFT, 0, 32, 48, 200, 20, font),
        l.Add(wideId, S, W(Tr(TextId::kAspectWide)), SS_LEFT, 0, 40, 86, 70, 20, font),
        l.Add(squareId, S, W(Tr(TextId::kAspectSquare)), SS_CENTER, 0, 125, 86, 81, 20, font),
        l.Add(tallId, S, W(Tr(TextId::kAspectTall)), SS_RIGHT, 0, 221, 86, 70, 20, font),
        bar,
    };
  }

  // The texts on the pages stand on the page's colour (the window colour
  // of a themed tab control), not on the dialog's.
  HBRUSH PageColour(HDC dc, HWND control) const {
    const int id = GetDlgCtrlID(control);
    if (id == kIdOptionsUpdateButton || id == kIdOkButton || id == kIdCancelButton) return nullptr;
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
  }

  void SizeListColumns() {
    HWND list = GetDlgItem(dialog_, kIdRandomList);
    RECT client{};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, (client.right - client.left) / 2);
  }

  void ShowPage(int page) {
    SendDlgItemMessageW(dialog_, kIdOptionsTabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int i = 0; i < 4; ++i) {
      for (HWND control : pages_[i]) ShowWindow(control, i == page ? SW_SHOW : SW_HIDE);
    }
  }

  void ShowControls(const OptionsControls& c) {
    SetDlgItemTextW(dialog_, kIdDistortValueEdit, Widen(c.distortValueText).c_str());
    SetScrollPos(GetDlgItem(dialog_, kIdNoConversionAspectScroll), SB_CTL, c.noConversionAspect, TRUE);
    SetScrollPos(GetDlgItem(dialog_, kIdRectangleAspectScroll), SB_CTL, c.rectangleAspect, TRUE);
    HWND list = GetDlgItem(dialog_, kIdRandomList);
    for (int position = 0; position < RandomListCount(); ++position) {
      LVITEMW item{};
      item.stateMask = LVIS_STATEIMAGEMASK;
      item.state = INDEXTOSTATEIMAGEMASK(c.marks[static_cast<size_t>(position)] ? 2 : 1);
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
    }
  }

  OptionsControls ReadControls() const {
    OptionsControls c;
    c.marks.resize(static_cast<size_t>(RandomListCount()));
    c.distortValueText = Narrow(WindowText(GetDlgItem(dialog_, kIdDistortValueEdit)));
    c.noConversionAspect = GetScrollPos(GetDlgItem(dialog_, kIdNoConversionAspectScroll), SB_CTL);
    c.rectangleAspect = GetScrollPos(GetDlgItem(dialog_, kIdRectangleAspectScroll), SB_CTL);
    HWND list = GetDlgItem(dialog_, kIdRandomList);
    for (int position = 0; position < RandomListCount(); ++position) {
      const auto state = static_cast<UINT>(
          SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(position), LVIS_STATEIMAGEMASK));
      c.marks[static_cast<size_t>(position)] = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    return c;
  }

  void OnCommand(int id) {
    switch (id) {
      case kIdOkButton:
        if (SaveOptions()) EndDialog(dialog_, IDOK);
        break;
      case kIdOptionsUpdateButton:
        SaveOptions();
        break;
      case kIdCancelButton:
        EndDialog(dialog_, IDCANCEL);
        break;
      default:
        break;
    }
  }

  void OnScroll(HWND bar, int code, int thumb) {
    const int id = GetDlgCtrlID(bar);
    if (id != kIdRectangleAspectScroll && id != kIdNoConversionAspectScroll) return;
    int position = GetScrollPos(bar, SB_CTL);
    switch (code) {
      case SB_LINELEFT:
      case SB_PAGELEFT:
        position -= 1;
        break;
      case SB_LINERIGHT:
      case SB_PAGERIGHT:
        position += 1;
        break;
      case SB_LEFT:
        position = kAspectMin;
        break;
      case SB_RIGHT:
        position = kAspectMax;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        position = thumb;
        break;
      default:
        break;
    }
    position = position < kAspectMin ? kAspectMin : position > kAspectMax ? kAspectMax : position;
    SetScrollPos(bar, SB_CTL, position, TRUE);
  }

  bool SaveOptions() {
    OptionsOutcome outcome;
    try {
      outcome = model_.Save(ReadControls());
    } catch (const std::exception& error) {
      ShowStandardError(error.what());  // a registry write failed
      return false;
    }
    if (outcome.saved) return true;
    ShowPage(outcome.page);
    showingMessage_ = true;
    ShowErrorMessage(outcome.message);
    showingMessage_ = false;
    return false;
  }

  HWND dialog_ = nullptr;
  OptionsDialogModel model_;
  DialogLayout layout_;
  HintWindow hints_;
  std::vector<HWND> pages_[4];
  bool created_ = false;
  bool showingMessage_ = false;
};

}  // namespace

void ShowOptionsDialog(HINSTANCE instance, HWND owner) {
  OptionsDialog dialog;  // loads the record; written back when it goes
  ReportUnreadableValues(dialog.UnreadableValues());
  EmptyDialogTemplate dialogTemplate(kDialogStyle);
  DialogBoxIndirectParamW(instance, dialogTemplate.Get(), owner, &DialogProcOf<OptionsDialog>,
                          reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace tessivane::dialogs
