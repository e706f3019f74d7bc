#include "dialogs/SettingsDialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

#include <cwctype>
#include <exception>
#include <iterator>

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Utf.h"
#include "dialogs/ControlIds.h"
#include "base/Texts.h"
#include "dialogs/FolderPicker.h"
#include "dialogs/MusicDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/PictureOpenDialog.h"
#include "dialogs/UnreadableValues.h"
#include "pattern/MethodTable.h"
#include "settings/SettingsTexts.h"
#include "base/ErrorBoxes.h"
#include "dialogs/DialogResources.h"
#include "TessivaneVersion.h"

namespace tessivane::dialogs {

namespace {

constexpr int kClientWidth = 480;
constexpr int kClientHeight = 497;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kRadio = WS_TABSTOP | BS_RADIOBUTTON;
constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

// A value row: label (with its caption's entry), edit box and scroll bar
// of one setting.
struct RowIds {
  int label, edit, scroll;
  const ValueRange* range;
  TextId caption;
};
const RowIds kRows[] = {
    {kIdSizeLabel, kIdSizeEdit, kIdSizeScroll, &kSizeRange, TextId::kSizeLabel},
    {kIdMoveLabel, kIdMoveEdit, kIdMoveScroll, &kMoveRange, TextId::kMoveLabel},
    {kIdWeightLabel, kIdWeightEdit, kIdWeightScroll, &kWeightRange, TextId::kWeightLabel},
};

const RowIds* RowOfScroll(int id) {
  for (const RowIds& row : kRows) {
    if (row.scroll == id) return &row;
  }
  return nullptr;
}

std::wstring W(const char* utf8) { return Widen(utf8); }

constexpr wchar_t kHelpFileName[] = L"Tessivane.html";

// The file: URL of a local file, with a fragment.
std::wstring PageUrl(const std::wstring& path, const std::wstring& section) {
  wchar_t url[INTERNET_MAX_URL_LENGTH] = {};
  DWORD length = INTERNET_MAX_URL_LENGTH;
  if (FAILED(UrlCreateFromPathW(path.c_str(), url, &length, 0))) return {};
  return std::wstring(url) + L"#" + section;
}

// Starts the program that opens ".html" files with a URL in place of the
// file ("%1" or "%L" of its command). False when there is none.
bool OpenUrlAsPage(const std::wstring& url) {
  if (url.empty()) return false;
  wchar_t command[2048] = {};
  DWORD length = static_cast<DWORD>(std::size(command));
  if (FAILED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".html", L"open", command, &length)))
    return false;
  std::wstring line = command;
  const std::wstring quoted = L"\"" + url + L"\"";
  size_t at = line.find(L"%1");
  if (at == std::wstring::npos) at = line.find(L"%L");
  if (at == std::wstring::npos) {
    line += L" " + quoted;
  } else {
    const bool inQuotes = at > 0 && line[at - 1] == L'"';
    line.replace(at, 2, inQuotes ? url : quoted);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  ScopedKernelHandle processHandle(process.hProcess);
  ScopedKernelHandle threadHandle(process.hThread);
  return true;
}

// The folder of the running program, with its trailing backslash.
std::wstring ProgramFolder() {
  const std::wstring path = ProgramPath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance)
    : instance_(instance), layout_(kClientWidth, kClientHeight) {}

SettingsDialog::~SettingsDialog() {
  if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
}

void SettingsDialog::Run(HINSTANCE instance, HWND owner) {
  if (owner && !IsWindow(owner)) owner = nullptr;  // a number that names no window
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                                       ICC_LISTVIEW_CLASSES |
                                                                       ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  SettingsDialog dialog(instance);
  ReportUnreadableValues(dialog.model_.Record().UnreadableValues());
  EmptyDialogTemplate dialogTemplate(kDialogStyle);
  if (!CreateDialogIndirectParamW(instance, dialogTemplate.Get(), owner, &DialogProcOf<SettingsDialog>,
                                  reinterpret_cast<LPARAM>(&dialog))) {
    throw std::runtime_error(Tr(TextId::kWindowCreateFailed));
  }
  ShowWindow(dialog.dialog_, SW_SHOWNORMAL);
  SetForegroundWindow(dialog.dialog_);
  MSG msg;
  while (dialog.dialog_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialog.OnRowMnemonic(msg)) continue;
    if (dialog.dialog_ && IsDialogMessageW(dialog.dialog_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Leaving here destroys the dialog and so writes the record back.
}

INT_PTR SettingsDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowTextW(dialog_, SettingsCaption().c_str());
      layout_.Attach(dialog_);
      CreateControls();
      ShowControls(model_.InitialControls());
      DragAcceptFiles(dialog_, TRUE);
      layout_.CenterOnWorkArea();
      SetFocus(Item(IsDlgButtonChecked(dialog_, kIdPluginRadio) ? kIdPluginRadio : kIdBasicRadio));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return TRUE;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnEditColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED:
      layout_.DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      LoadIcons();
      FitApplicationName();
      return TRUE;
    case WM_CLOSE:
      Close();
      return TRUE;
    case WM_DESTROY:
      DragAcceptFiles(dialog_, FALSE);
      dialog_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void SettingsDialog::CreateControls() {
  DialogLayout& l = layout_;
  const wchar_t* const B = WC_BUTTONW;
  const wchar_t* const S = WC_STATICW;
  const wchar_t* const E = WC_EDITW;
  const wchar_t* const C = WC_COMBOBOXW;
  const wchar_t* const SB = WC_SCROLLBARW;
  const DWORD edge = WS_EX_CLIENTEDGE;
  auto hint = [this](int id, const char* text) { hints_.Add(Item(id), W(text)); };

  hints_.Create(dialog_);

  // Frames behind everything else.
  l.Add(kIdLeftFrame, S, L"", SS_ETCHEDFRAME, 0, 8, 8, 361, 481);
  l.Add(kIdButtonFrame, S, L"", SS_ETCHEDFRAME, 0, 376, 8, 97, 137);
  l.Add(kIdMusicPanel, S, L"", SS_SUNKEN, 0, 376, 152, 97, 41);
  l.Add(kIdAboutFrame, S, L"", SS_ETCHEDFRAME, 0, 376, 352, 97, 137);

  // Conversion method (the box at 16, 16; its controls relative to it).
  l.Add(kIdMethodGroup, B, W(Tr(TextId::kMethodGroup)), BS_GROUPBOX, 0, 16, 16, 345, 157);
  l.Add(kIdBasicRadio, B, W(Tr(TextId::kBasicRadio)), kRadio | WS_GROUP, 0, 32, 31, 150, 17);
  HWND methods = l.Add(kIdMethodList, C, L"", kList, 0, 48, 48, 217, 240);
  for (std::string_view label : MethodListLabels()) {
    SendMessageW(methods, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(std::string(label)).c_str()));
  }
  l.Add(kIdDetailsButton, B, W(Tr(TextId::kDetailsButton)), kButton, 0, 272, 48, 75, 25);
  l.Add(kIdPluginRadio, B, W(Tr(TextId::kPluginRadio)), kRadio, 0, 32, 72, 150, 17);
  l.Add(kIdPluginEdit, E, L"", kEdit, edge, 48, 88, 217, 21);
  l.Add(kIdPluginBrowseButton, B, W(Tr(TextId::kPluginBrowseButton)), kButton, 0, 272, 88, 75, 25);
  l.Add(kIdShuffleCheck, B, W(Tr(TextId::kShuffleCheck)), kCheck | WS_GROUP, 0, 32, 112, 130, 17);
  l.Add(kIdMonoToneCheck, B, W(Tr(TextId::kMonoToneCheck)), kCheck, 0, 168, 112, 130, 17);
  l.Add(kIdBlurCheck, B, W(Tr(TextId::kBlurCheck)), kCheck, 0, 32, 132, 160, 17);
  l.Add(kIdBrightnessCheck, B, W(Tr(TextId::kBrightnessCheck)), kCheck, 0, 32, 152, 160, 17);

  // Source picture (the box at 16, 180).
  l.Add(kIdSourceGroup, B, W(Tr(TextId::kSourceGroup)), BS_GROUPBOX, 0, 16, 180, 345, 145);
  l.Add(kIdRandomImageRadio, B, W(Tr(TextId::kRandomImageRadio)), kRadio | WS_GROUP, 0, 32, 196, 220, 17);
  l.Add(kIdImageFileRadio, B, W(Tr(TextId::kImageFileRadio)), kRadio, 0, 32, 220, 220, 17);
  l.Add(kIdImageFileBrowseButton, B, W(Tr(TextId::kImageFileBrowseButton)), kButton, 0, 271, 215, 75, 25);
  l.Add(kIdImageFileEdit, E, L"", kEdit, edge, 48, 244, 297, 21);
  l.Add(kIdImageFolderRadio, B, W(Tr(TextId::kImageFolderRadio)), kRadio, 0, 32, 273, 220, 17);
  l.Add(kIdImageFolderEdit, E, L"", kEdit, edge, 48, 296, 297, 21);
  l.Add(kIdImageFolderBrowseButton, B, W(Tr(TextId::kImageFolderBrowseButton)), kButton, 0, 271, 268, 75, 25);

  // Motion and reload interval.
  l.Add(kIdMotionGroup, B, W(Tr(TextId::kMotionGroup)), BS_GROUPBOX, 0, 16, 332, 145, 49);
  HWND motions = l.Add(kIdMotionList, C, L"", kList | WS_GROUP, 0, 24, 350, 129, 120);
  for (TextId item : {TextId::kMotionStraight, TextId::kMotionCurve, TextId::kMotionSlideShow}) {
    SendMessageW(motions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Tr(item)).c_str()));
  }
  l.Add(kIdIntervalGroup, B, W(Tr(TextId::kIntervalGroup)), BS_GROUPBOX, 0, 168, 332, 97, 49);
  l.Add(kIdIntervalEdit, E, L"60", kEdit | WS_GROUP, edge, 176, 350, 57, 21);
  l.Add(kIdIntervalUnitLabel, S, W(Tr(TextId::kIntervalUnit)), SS_LEFT | SS_NOTIFY, 0, 238, 354, 20, 14);
  // The fade, in the free space right of the interval.
  l.Add(kIdFadeGroup, B, W(Tr(TextId::kFadeGroup)), BS_GROUPBOX, 0, 272, 332, 89, 49);
  l.Add(kIdFadeEdit, E, L"0", kEdit | WS_GROUP, edge, 280, 350, 33, 21);
  l.Add(kIdFadeUnitLabel, S, W(Tr(TextId::kFadeUnit)), SS_LEFT | SS_NOTIFY, 0, 316, 354, 42, 14);

  // The three value rows (panels at 16, 388 / 420 / 452, 345 x 32).
  const char* const rowHints[] = {Tr(TextId::kSizeHint), Tr(TextId::kMoveHint), Tr(TextId::kWeightHint)};
  for (int i = 0; i < 3; ++i) {
    const RowIds& row = kRows[i];
    const int top = 388 + 32 * i;
    l.Add(row.label, S, W(Tr(row.caption)), SS_LEFT | SS_NOTIFY, 0, 16, top + 9, 110, 14);
    HWND edit = l.Add(row.edit, E, L"", kEdit | WS_GROUP, edge, 128, top + 5, 33, 21);
    SendMessageW(edit, EM_SETLIMITTEXT, 11, 0);
    HWND bar = l.Add(row.scroll, SB, L"", WS_TABSTOP | SBS_HORZ, 0, 168, top + 7, 193, 17);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, row.range->min, row.range->max, 0, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    for (int id : {row.label, row.edit, row.scroll}) hint(id, rowHints[i]);
  }
  // The size is typed in digits: no input method.
  ImmAssociateContextEx(Item(kIdSizeEdit), nullptr, 0);

  // Button column.
  l.Add(kIdOkButton, B, W(Tr(TextId::kOkButton)), WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 384, 16, 81,
        25);
  l.Add(kIdCancelButton, B, W(Tr(TextId::kCancelButton)), kButton, 0, 384, 48, 81, 25);
  l.Add(kIdUpdateButton, B, W(Tr(TextId::kUpdateButton)), kButton, 0, 384, 80, 81, 25);
  l.Add(kIdHelpButton, B, W(Tr(TextId::kHelpButton)), kButton, 0, 384, 112, 81, 25);
  l.Add(kIdMusicButton, B, W(Tr(TextId::kMusicButton)), kButton, 0, 384, 160, 81, 25);

  // About area.
  l.Add(kIdAppIcon, S, L"", SS_ICON | SS_REALSIZECONTROL | SS_NOTIFY, 0, 384, 360, 32, 32);
  l.Add(kIdAppNameLabel, S, std::wstring(kApplicationTitle), SS_CENTER | SS_NOTIFY, 0, 378, 394, 93, 26,
        FontRole::kTitle);
  l.Add(kIdVersionLabel, S, W(Tr(TextId::kVersionPrefix)) + W(TESSIVANE_VERSION_TEXT), SS_RIGHT, 0, 384, 422,
        81, 14);
  l.Add(kIdCreditIcon, S, L"", SS_ICON | SS_REALSIZECONTROL, 0, 384, 442, 16, 16);
  l.Add(kIdCreditLabel1, S, W(Tr(TextId::kCreditLine1)), SS_LEFT, 0, 404, 440, 65, 14);
  l.Add(kIdCreditLabel2, S, W(Tr(TextId::kCreditLine2)), SS_LEFT, 0, 404, 454, 65, 14);
  l.Add(kIdCreditLabel3, S, W(Tr(TextId::kCreditLine3)), SS_LEFT, 0, 404, 468, 65, 14);
  LoadIcons();
  FitApplicationName();

  const std::pair<int, int> glyphs[] = {
      {kIdDetailsButton, IDB_GLYPH_DETAILS},
      {kIdPluginBrowseButton, IDB_GLYPH_BROWSE},
      {kIdImageFileBrowseButton, IDB_GLYPH_BROWSE},
      {kIdImageFolderBrowseButton, IDB_GLYPH_FOLDER},
      {kIdOkButton, IDB_GLYPH_OK},
      {kIdCancelButton, IDB_GLYPH_CANCEL},
      {kIdUpdateButton, IDB_GLYPH_UPDATE},
      {kIdHelpButton, IDB_GLYPH_HELP},
      {kIdMusicButton, IDB_GLYPH_MUSIC},
  };
  for (const auto& [button, glyph] : glyphs) l.SetGlyph(button, glyph);

  // Hints. A control without a hint of its own shows the one of the box
  // around it.
  hint(kIdBasicRadio, Tr(TextId::kBasicRadioHint));
  hint(kIdMethodList, Tr(TextId::kMethodListHint));
  hint(kIdDetailsButton, Tr(TextId::kDetailsButtonHint));
  hint(kIdPluginRadio, Tr(TextId::kPluginRadioHint));
  hint(kIdPluginEdit, Tr(TextId::kPluginEditHint));
  hint(kIdPluginBrowseButton, Tr(TextId::kPluginBrowseHint));
  hint(kIdShuffleCheck, Tr(TextId::kShuffleHint));
  hint(kIdMonoToneCheck, Tr(TextId::kMonoToneHint));
  hint(kIdBlurCheck, Tr(TextId::kBlurHint));
  hint(kIdBrightnessCheck, Tr(TextId::kBrightnessHint));
  hint(kIdRandomImageRadio, Tr(TextId::kRandomImageHint));
  hint(kIdImageFileRadio, Tr(TextId::kImageFileRadioHint));
  hint(kIdImageFileBrowseButton, Tr(TextId::kImageFileBrowseHint));
  hint(kIdImageFileEdit, Tr(TextId::kImageFileEditHint));
  hint(kIdImageFolderRadio, Tr(TextId::kImageFolderRadioHint));
  hint(kIdImageFolderEdit, Tr(TextId::kImageFolderEditHint));
  hint(kIdImageFolderBrowseButton, Tr(TextId::kImageFolderBrowseHint));
  hint(kIdMotionGroup, Tr(TextId::kMotionHint));
  hint(kIdMotionList, Tr(TextId::kMotionHint));
  hint(kIdIntervalGroup, Tr(TextId::kIntervalHint));
  hint(kIdIntervalEdit, Tr(TextId::kIntervalHint));
  hint(kIdIntervalUnitLabel, Tr(TextId::kIntervalHint));
  for (int id : {kIdFadeGroup, kIdFadeEdit, kIdFadeUnitLabel}) hint(id, Tr(TextId::kFadeHint));
  hint(kIdOkButton, Tr(TextId::kOkHint));
  hint(kIdCancelButton, Tr(TextId::kCancelHint));
  hint(kIdUpdateButton, Tr(TextId::kUpdateHint));
  hint(kIdMusicButton, Tr(TextId::kMusicHint));
  hint(kIdAppNameLabel, Tr(TextId::kApplicationNameHint));
}

void SettingsDialog::LoadIcons() {
  const int big = layout_.Scale(32);
  const int small = layout_.Scale(16);
  appIcon_.reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TESSIVANE), IMAGE_ICON, big, big, 0)));
  creditIcon_.reset(static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TESSIVANE), IMAGE_ICON, small, small, 0)));
  SendDlgItemMessageW(dialog_, kIdAppIcon, STM_SETICON, reinterpret_cast<WPARAM>(appIcon_.get()), 0);
  SendDlgItemMessageW(dialog_, kIdCreditIcon, STM_SETICON, reinterpret_cast<WPARAM>(creditIcon_.get()), 0);
}

// The bold name keeps its 21 pixels where the face allows; a wider face
// gets a smaller size, so that the name is never cut off.
void SettingsDialog::FitApplicationName() {
  HWND label = Item(kIdAppNameLabel);
  RECT client{};
  GetClientRect(label, &client);
  const std::wstring name = std::wstring(kApplicationTitle);
  SIZE extent{};
  {
    ScopedWindowDC dc(label);
    ScopedSelect select(dc.get(), layout_.Font(FontRole::kTitle));
    GetTextExtentPoint32W(dc.get(), name.c_str(), static_cast<int>(name.size()), &extent);
  }
  HFONT font = layout_.Font(FontRole::kTitle);
  if (extent.cx > client.right && extent.cx > 0) {
    LOGFONTW shape{};
    GetObjectW(font, sizeof shape, &shape);
    shape.lfHeight = MulDiv(shape.lfHeight, client.right, extent.cx);
    fittedTitleFont_.reset(CreateFontIndirectW(&shape));
    if (fittedTitleFont_) font = fittedTitleFont_.get();
  }
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SettingsDialog::ShowControls(const SettingsControls& c) {
  CheckDlgButton(dialog_, kIdMonoToneCheck, c.monoTone ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdShuffleCheck, c.shuffle ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdBlurCheck, c.blur ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdBrightnessCheck, c.brightnessChange ? BST_CHECKED : BST_UNCHECKED);
  ShowRow(kIdSizeEdit, kIdSizeScroll, c.size);
  ShowRow(kIdMoveEdit, kIdMoveScroll, c.move);
  ShowRow(kIdWeightEdit, kIdWeightScroll, c.weight);
  SendDlgItemMessageW(dialog_, kIdMethodList, CB_SETCURSEL, static_cast<WPARAM>(c.methodListPosition), 0);
  ChooseSource(c.source);
  SetDlgItemTextW(dialog_, kIdImageFileEdit, Widen(c.imageFile).c_str());
  SetDlgItemTextW(dialog_, kIdImageFolderEdit, Widen(c.imageFolder).c_str());
  ChooseConversion(c.conversion);
  SetDlgItemTextW(dialog_, kIdPluginEdit, Widen(c.pluginFile).c_str());
  SetDlgItemTextW(dialog_, kIdIntervalEdit, Widen(c.intervalText).c_str());
  SetDlgItemTextW(dialog_, kIdFadeEdit, Widen(c.fadeText).c_str());
  SendDlgItemMessageW(dialog_, kIdMotionList, CB_SETCURSEL, static_cast<WPARAM>(c.motionListPosition), 0);
}

ValueRow SettingsDialog::ReadRow(int editId, int scrollId) const {
  return {GetScrollPos(Item(scrollId), SB_CTL), Narrow(WindowText(Item(editId)))};
}

void SettingsDialog::ShowRow(int editId, int scrollId, const ValueRow& row) {
  SetScrollPos(Item(scrollId), SB_CTL, row.position, TRUE);
  SetDlgItemTextW(dialog_, editId, Widen(row.text).c_str());
}

SettingsControls SettingsDialog::ReadControls() const {
  SettingsControls c;
  c.methodListPosition = static_cast<int>(SendDlgItemMessageW(dialog_, kIdMethodList, CB_GETCURSEL, 0, 0));
  c.conversion = conversion_;
  c.pluginFile = Narrow(WindowText(Item(kIdPluginEdit)));
  c.shuffle = IsDlgButtonChecked(dialog_, kIdShuffleCheck) == BST_CHECKED;
  c.monoTone = IsDlgButtonChecked(dialog_, kIdMonoToneCheck) == BST_CHECKED;
  c.blur = IsDlgButtonChecked(dialog_, kIdBlurCheck) == BST_CHECKED;
  c.brightnessChange = IsDlgButtonChecked(dialog_, kIdBrightnessCheck) == BST_CHECKED;
  c.source = source_;
  c.imageFile = Narrow(WindowText(Item(kIdImageFileEdit)));
  c.imageFolder = Narrow(WindowText(Item(kIdImageFolderEdit)));
  c.motionListPosition = static_cast<int>(SendDlgItemMessageW(dialog_, kIdMotionList, CB_GETCURSEL, 0, 0));
  c.intervalText = Narrow(WindowText(Item(kIdIntervalEdit)));
  c.fadeText = Narrow(WindowText(Item(kIdFadeEdit)));
  c.size = ReadRow(kIdSizeEdit, kIdSizeScroll);
  c.move = ReadRow(kIdMoveEdit, kIdMoveScroll);
  c.weight = ReadRow(kIdWeightEdit, kIdWeightScroll);
  return c;
}

bool SettingsDialog::IsActive() const { return dialog_ && GetActiveWindow() == dialog_; }

void SettingsDialog::ApplyEnabledState() {
  const EnabledControls e = EnabledFor(source_, conversion_);
  const std::pair<int, bool> states[] = {
      {kIdImageFileEdit, e.imageFileEdit},     {kIdImageFileBrowseButton, e.imageFileBrowse},
      {kIdImageFolderEdit, e.imageFolderEdit}, {kIdImageFolderBrowseButton, e.imageFolderBrowse},
      {kIdIntervalEdit, e.intervalEdit},       {kIdMethodList, e.methodList},
      {kIdDetailsButton, e.detailsButton},     {kIdPluginEdit, e.pluginEdit},
      {kIdPluginBrowseButton, e.pluginBrowse}, {kIdFadeEdit, e.fadeEdit},
  };
  for (const auto& [id, enabled] : states) {
    HWND control = Item(id);
    if (!enabled && GetFocus() == control) SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enabled ? TRUE : FALSE);
  }
}

// The source radio buttons: each selects itself, enables its own controls
// and, while the dialog is active, focuses its edit box.
void SettingsDialog::ChooseSource(uint8_t source) {
  source_ = source;
  CheckDlgButton(dialog_, kIdRandomImageRadio, source == kFileTypeRandom ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdImageFileRadio, source == kFileTypeFile ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdImageFolderRadio, source == kFileTypeFolder ? BST_CHECKED : BST_UNCHECKED);
  ApplyEnabledState();
  const int focus = FocusForSource(source);
  if (focus && IsActive()) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focus)), TRUE);
}

void SettingsDialog::ChooseConversion(uint8_t conversion) {
  conversion_ = conversion;
  CheckDlgButton(dialog_, kIdBasicRadio, conversion == kTransBasic ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog_, kIdPluginRadio, conversion == kTransPlugin ? BST_CHECKED : BST_UNCHECKED);
  ApplyEnabledState();
  const int focus = FocusForConversion(conversion);
  if (focus && IsActive()) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focus)), TRUE);
}

void SettingsDialog::OnCommand(int id, int code) {
  switch (id) {
    case kIdBasicRadio:
    case kIdPluginRadio:
      if (code == BN_CLICKED) ChooseConversion(id == kIdPluginRadio ? kTransPlugin : kTransBasic);
      break;
    case kIdRandomImageRadio:
      if (code == BN_CLICKED) ChooseSource(kFileTypeRandom);
      break;
    case kIdImageFileRadio:
      if (code == BN_CLICKED) ChooseSource(kFileTypeFile);
      break;
    case kIdImageFolderRadio:
      if (code == BN_CLICKED) ChooseSource(kFileTypeFolder);
      break;
    case kIdSizeEdit:
    case kIdMoveEdit:
    case kIdWeightEdit:
      if (code == EN_KILLFOCUS) TakeRowText(id);
      break;
    case kIdOkButton:
      if (SaveSettings()) Close();
      break;
    case kIdUpdateButton:
      SaveSettings();
      break;
    case kIdCancelButton:
      Close();
      break;
    case kIdHelpButton:
      OpenHelp();
      break;
    case kIdDetailsButton:
      OpenOptions();
      break;
    case kIdMusicButton:
      OpenMusic();
      break;
    case kIdImageFileBrowseButton:
      BrowsePicture();
      break;
    case kIdPluginBrowseButton:
      BrowsePlugin();
      break;
    case kIdImageFolderBrowseButton:
      BrowseFolder();
      break;
    default:
      break;
  }
}

// The scroll bar controls keep their position themselves only when told:
// each request moves it (a page by the row's large step) and the edit box
// follows.
void SettingsDialog::OnScroll(HWND bar, int code, int thumb) {
  const RowIds* row = RowOfScroll(GetDlgCtrlID(bar));
  if (!row) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  int position = info.nPos;
  switch (code) {
    case SB_LINELEFT:
      position -= 1;
      break;
    case SB_LINERIGHT:
      position += 1;
      break;
    case SB_PAGELEFT:
      position -= row->range->largeStep;
      break;
    case SB_PAGERIGHT:
      position += row->range->largeStep;
      break;
    case SB_LEFT:
      position = row->range->min;
      break;
    case SB_RIGHT:
      position = row->range->max;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = thumb;
      break;
    default:
      break;  // SB_ENDSCROLL: the edit box shows the current position
  }
  ValueRow value{row->range->Clamp(position), {}};
  ShowPosition(value);
  ShowRow(row->edit, row->scroll, value);
}

// Alt plus the underlined letter of a value row's label focuses its
// scroll bar (the dialog manager would focus the edit box after the label).
// The letter is the one the label shows in the installed language, so
// every other letter stays with the control whose caption shows it.
bool SettingsDialog::OnRowMnemonic(const MSG& msg) {
  if (!dialog_ || msg.message != WM_SYSCHAR) return false;
  if (msg.hwnd != dialog_ && !IsChild(dialog_, msg.hwnd)) return false;
  const wchar_t key = static_cast<wchar_t>(towupper(static_cast<wint_t>(msg.wParam)));
  for (const RowIds& row : kRows) {
    const char letter = MnemonicOf(Tr(row.caption));
    if (letter == 0 || static_cast<wchar_t>(letter) != key) continue;
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(row.scroll)), TRUE);
    return true;
  }
  return false;
}

void SettingsDialog::OnDropFiles(HDROP drop) {
  const std::wstring path = TakeFirstDroppedFile(drop);
  if (!path.empty()) SetDlgItemTextW(dialog_, kIdImageFileEdit, path.c_str());
}

// The source area's edit boxes: window colour when enabled, button face
// when disabled.
HBRUSH SettingsDialog::OnEditColour(HDC dc, HWND edit) {
  const int id = GetDlgCtrlID(edit);
  if (id != kIdImageFileEdit && id != kIdImageFolderEdit && id != kIdIntervalEdit && id != kIdFadeEdit)
    return nullptr;
  const int colour = IsWindowEnabled(edit) ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(colour));
  SetTextColor(dc, GetSysColor(IsWindowEnabled(edit) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  return GetSysColorBrush(colour);
}

// A value box's text moves its scroll bar when the box loses the focus.
void SettingsDialog::TakeRowText(int editId) {
  for (const RowIds& row : kRows) {
    if (row.edit != editId) continue;
    ValueRow value = ReadRow(row.edit, row.scroll);
    TakeEditText(value, *row.range);
    ShowRow(row.edit, row.scroll, value);
  }
}

bool SettingsDialog::SaveSettings() {
  // Enter and Alt+O press OK with the focus still in a value box: the
  // number typed there counts, as if the focus had left it.
  if (HWND focus = GetFocus(); focus && GetParent(focus) == dialog_) TakeRowText(GetDlgCtrlID(focus));
  SettingsControls controls = ReadControls();
  SaveOutcome outcome;
  try {
    outcome = model_.Save(controls);
  } catch (const std::exception& error) {
    ShowStandardError(error.what());  // a registry write failed
    return false;
  }
  ShowRow(kIdSizeEdit, kIdSizeScroll, controls.size);
  ShowRow(kIdMoveEdit, kIdMoveScroll, controls.move);
  ShowRow(kIdWeightEdit, kIdWeightScroll, controls.weight);
  switch (outcome.kind) {
    case SaveOutcome::Kind::kSaved:
      return true;
    case SaveOutcome::Kind::kMessage:
      ShowErrorMessage(outcome.message);
      break;
    case SaveOutcome::Kind::kUnitError:
      ShowUnitError(outcome.unitError, outcome.detail);
      break;
    case SaveOutcome::Kind::kStandardError:
      ShowStandardError(outcome.message);
      break;
    case SaveOutcome::Kind::kAlreadyShown:
      break;
  }
  if (outcome.focusControl)
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(outcome.focusControl)), TRUE);
  return false;
}

void SettingsDialog::Close() {
  if (dialog_) DestroyWindow(dialog_);  // WM_DESTROY clears dialog_, which ends Run's loop
}

void SettingsDialog::OpenMusic() {
  try {
    ShowMusicDialog(instance_, dialog_);
  } catch (...) {
    HandleException();
  }
}

void SettingsDialog::OpenOptions() {
  try {
    ShowOptionsDialog(instance_, dialog_);
  } catch (...) {
    HandleException();
  }
}

// The help page lies beside the program and opens at the section of the
// user's language. The shell drops the "#section" of a file it opens, so
// the page goes as a file: URL to the program that opens ".html" files;
// with none registered the shell opens the page at its top.
void SettingsDialog::OpenHelp() {
  const std::wstring folder = ProgramFolder();
  if (!FolderExists(Narrow(folder))) {
    ShowErrorMessage(Format(Tr(TextId::kHelpFolderMissing), Narrow(folder).c_str()));
    return;
  }
  const std::wstring page = folder + kHelpFileName;
  if (!FileExists(Narrow(page))) {
    ShowErrorMessage(Tr(TextId::kHelpPageMissing));
    return;
  }
  if (OpenUrlAsPage(PageUrl(page, W(Tr(TextId::kHelpSection))))) return;
  const HINSTANCE result =
      ShellExecuteW(dialog_, nullptr, kHelpFileName, nullptr, folder.c_str(), SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) == SE_ERR_FNF) ShowErrorMessage(Tr(TextId::kHelpPageMissing));
}

void SettingsDialog::BrowsePicture() {
  const std::wstring path = ChoosePictureFile(dialog_);
  if (!path.empty()) SetDlgItemTextW(dialog_, kIdImageFileEdit, path.c_str());
}

void SettingsDialog::BrowsePlugin() {
  const std::wstring path = ChoosePluginFile(dialog_);
  if (!path.empty()) SetDlgItemTextW(dialog_, kIdPluginEdit, path.c_str());
}

void SettingsDialog::BrowseFolder() {
  std::wstring folder;
  if (PickFolder(dialog_, W(Tr(TextId::kFolderPickerTitle)), L"\\", folder)) {
    SetDlgItemTextW(dialog_, kIdImageFolderEdit, folder.c_str());
  }
}

}  // namespace tessivane::dialogs
