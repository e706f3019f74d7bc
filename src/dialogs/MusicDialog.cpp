#include "dialogs/MusicDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cwchar>
#include <exception>

#include "base/ErrorBoxes.h"
#include "base/Errors.h"
#include "base/MediaPlayer.h"
#include "base/Utf.h"
#include "dialogs/ControlIds.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/DialogResources.h"
#include "base/Texts.h"
#include "dialogs/MusicDialogModel.h"
#include "dialogs/PictureOpenDialog.h"
#include "dialogs/UnreadableValues.h"

namespace tessivane::dialogs {

namespace {

constexpr int kClientWidth = 346;
constexpr int kClientHeight = 130;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_3DLOOK;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kRadio = WS_TABSTOP | BS_RADIOBUTTON;
constexpr DWORD kPathCapacity = 32768;

std::wstring W(const char* utf8) { return Widen(utf8); }

// The hourglass for the time a test takes; the cursor before it comes back
// on every path.
class WaitCursor {
public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

private:
  HCURSOR previous_;
};

// The music file chosen in an open dialog; empty when cancelled.
std::wstring ChooseMusicFile(HWND owner) {
  const std::wstring filter =
      FilterFromBars(W(Tr(TextId::kMusicFilterName)) + L"|" + L"*.mid;*.mp3;*.wma;*.wav" + L"|" +
                     W(Tr(TextId::kAllFilesFilterName)) + L"|" + L"*.*");
  std::wstring path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&dialog)) return {};
  path.resize(wcslen(path.c_str()));
  return path;
}

class MusicDialog {
public:
  MusicDialog() : model_(&MakeMciPlayer), layout_(kClientWidth, kClientHeight) {}
  const std::vector<std::string>& UnreadableValues() const { return model_.Record().UnreadableValues(); }

private:
  friend INT_PTR CALLBACK tessivane::dialogs::DialogProcOf<MusicDialog>(HWND, UINT, WPARAM, LPARAM);

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG: {
        SetWindowTextW(dialog_, MusicCaption().c_str());
        layout_.Attach(dialog_);
        CreateControls();
        ShowControls(model_.ActivationControls());
        DragAcceptFiles(dialog_, TRUE);
        layout_.CenterOnOwner();
        return TRUE;
      }
      case WM_ACTIVATE:
        // The controls show the record at every activation, except when
        // the dialog gets back from a window of its own (the open dialog,
        // its error box): the user's input stays.
        if (LOWORD(wParam) != WA_INACTIVE && created_ && modalChildren_ == 0) {
          ShowControls(model_.ActivationControls());
        }
        return FALSE;
      case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_DROPFILES: {
        // Into the path box whichever radio button is selected.
        const std::wstring path = TakeFirstDroppedFile(reinterpret_cast<HDROP>(wParam));
        if (!path.empty()) SetDlgItemTextW(dialog_, kIdMusicFileEdit, path.c_str());
        return TRUE;
      }
      case WM_DPICHANGED:
        layout_.DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
      case WM_DESTROY:
        DragAcceptFiles(dialog_, FALSE);
        return FALSE;
      default:
        return FALSE;
    }
  }

  void CreateControls() {
    DialogLayout& l = layout_;
    hints_.Create(dialog_);
    auto hint = [this](int id, const char* text) { hints_.Add(GetDlgItem(dialog_, id), W(text)); };

    // The lowered panel and, inside it, the four controls of the choice.
    l.Add(kIdMusicFrame, WC_STATICW, L"", SS_SUNKEN, 0, 8, 8, 329, 81);
    l.Add(kIdMusicOnRadio, WC_BUTTONW, W(Tr(TextId::kMusicOnRadio)), kRadio | WS_GROUP, 0, 16, 16, 140, 17);
    l.Add(kIdMusicFileEdit, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 32, 37, 209, 20);
    l.Add(kIdMusicBrowseButton, WC_BUTTONW, W(Tr(TextId::kPluginBrowseButton)), kButton, 0, 248, 35, 75, 25);
    l.Add(kIdMusicOffRadio, WC_BUTTONW, W(Tr(TextId::kMusicOffRadio)), kRadio, 0, 16, 64, 140, 17);

    l.Add(kIdOkButton, WC_BUTTONW, W(Tr(TextId::kOkButton)), kButton | WS_GROUP | BS_DEFPUSHBUTTON, 0, 56, 96,
          83, 25);
    l.Add(kIdCancelButton, WC_BUTTONW, W(Tr(TextId::kCancelButton)), kButton, 0, 152, 96, 83, 25);
    l.Add(kIdMusicUpdateButton, WC_BUTTONW, W(Tr(TextId::kUpdateButton)), kButton, 0, 248, 96, 83, 25);
    l.SetGlyph(kIdMusicBrowseButton, IDB_GLYPH_BROWSE);
    l.SetGlyph(kIdOkButton, IDB_GLYPH_OK);
    l.SetGlyph(kIdCancelButton, IDB_GLYPH_CANCEL);
    l.SetGlyph(kIdMusicUpdateButton, IDB_GLYPH_UPDATE);

    hint(kIdMusicOnRadio, Tr(TextId::kMusicOnHint));
    hint(kIdMusicFileEdit, Tr(TextId::kMusicFileHint));
    hint(kIdMusicBrowseButton, Tr(TextId::kMusicBrowseHint));
    hint(kIdMusicOffRadio, Tr(TextId::kMusicOffHint));
    hint(kIdOkButton, Tr(TextId::kOptionsOkHint));
    hint(kIdCancelButton, Tr(TextId::kCancelHint));
    hint(kIdMusicUpdateButton, Tr(TextId::kOptionsUpdateHint));
    created_ = true;
  }

  void ShowControls(const MusicControls& c) {
    SetDlgItemTextW(dialog_, kIdMusicFileEdit, Widen(c.path).c_str());
    SelectMusic(c.musicOn);
  }

  // rdbBGMClick and rdbSilentClick: the path box and the browse button
  // serve only the music; the chosen button takes the focus when the
  // dialog is the active window.
  void SelectMusic(bool on) {
    EnableWindow(GetDlgItem(dialog_, kIdMusicFileEdit), on);
    EnableWindow(GetDlgItem(dialog_, kIdMusicBrowseButton), on);
    CheckRadioButton(dialog_, kIdMusicOnRadio, kIdMusicOffRadio, on ? kIdMusicOnRadio : kIdMusicOffRadio);
    if (GetActiveWindow() == dialog_) SetFocus(GetDlgItem(dialog_, on ? kIdMusicOnRadio : kIdMusicOffRadio));
  }

  void OnCommand(int id, int code) {
    switch (id) {
      case kIdMusicOnRadio:
        if (code == BN_CLICKED) SelectMusic(true);
        break;
      case kIdMusicOffRadio:
        if (code == BN_CLICKED) SelectMusic(false);
        break;
      case kIdMusicBrowseButton:
        Browse();
        break;
      case kIdOkButton:
        if (SaveMusic()) EndDialog(dialog_, IDOK);
        break;
      case kIdMusicUpdateButton:
        SaveMusic();
        break;
      case kIdCancelButton:
        EndDialog(dialog_, IDCANCEL);
        break;
      default:
        break;
    }
  }

  void Browse() {
    ++modalChildren_;
    const std::wstring path = ChooseMusicFile(dialog_);
    --modalChildren_;
    if (!path.empty()) SetDlgItemTextW(dialog_, kIdMusicFileEdit, path.c_str());
  }

  // SaveBGM: with music on the file must open in the player first.
  bool SaveMusic() {
    MusicControls controls;
    controls.musicOn = IsDlgButtonChecked(dialog_, kIdMusicOnRadio) == BST_CHECKED;
    controls.path = Narrow(WindowText(GetDlgItem(dialog_, kIdMusicFileEdit)));
    MusicOutcome outcome;
    try {
      WaitCursor hourglass;
      outcome = model_.Save(controls);
    } catch (const std::exception& error) {
      ShowStandardError(error.what());  // a registry write failed
      return false;
    }
    if (outcome.saved) return true;
    ++modalChildren_;
    ShowErrorMessage(outcome.message);
    --modalChildren_;
    return false;
  }

  HWND dialog_ = nullptr;
  MusicDialogModel model_;
  DialogLayout layout_;
  HintWindow hints_;
  bool created_ = false;
  int modalChildren_ = 0;  // open dialogs and boxes of this dialog
};

}  // namespace

void ShowMusicDialog(HINSTANCE instance, HWND owner) {
  MusicDialog dialog;  // loads the record; written back when it goes
  ReportUnreadableValues(dialog.UnreadableValues());
  EmptyDialogTemplate dialogTemplate(kDialogStyle);
  DialogBoxIndirectParamW(instance, dialogTemplate.Get(), owner, &DialogProcOf<MusicDialog>,
                          reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace tessivane::dialogs
