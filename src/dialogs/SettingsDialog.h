// The settings dialog: edits the main settings record. It is the main
// window of the settings run; closing it ends the run, and the record is
// written back when the dialog goes.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "dialogs/DialogLayout.h"
#include "dialogs/SettingsDialogModel.h"

namespace tessivane::dialogs {

class SettingsDialog {
public:
  // Loads the record and shows the dialog, owned by `owner` when that is a
  // window, centred on the screen; a value the record could not read is
  // reported first, and the dialog then shows its default, so that OK
  // repairs the store. Returns when the dialog is closed.
  static void Run(HINSTANCE instance, HWND owner);

  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

private:
  explicit SettingsDialog(HINSTANCE instance);
  friend INT_PTR CALLBACK tessivane::dialogs::DialogProcOf<SettingsDialog>(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void LoadIcons();
  void FitApplicationName();
  void ShowControls(const SettingsControls& controls);
  SettingsControls ReadControls() const;
  void ChooseSource(uint8_t source);
  void ChooseConversion(uint8_t conversion);
  void ApplyEnabledState();
  bool IsActive() const;

  void OnCommand(int id, int code);
  void OnScroll(HWND bar, int code, int thumb);
  bool OnRowMnemonic(const MSG& msg);
  void OnDropFiles(HDROP drop);
  HBRUSH OnEditColour(HDC dc, HWND edit);
  bool SaveSettings();
  void Close();
  void OpenMusic();
  void OpenOptions();
  void OpenHelp();
  void BrowsePicture();
  void BrowsePlugin();
  void BrowseFolder();

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  ValueRow ReadRow(int editId, int scrollId) const;
  void ShowRow(int editId, int scrollId, const ValueRow& row);
  void TakeRowText(int editId);

  HINSTANCE instance_;
  HWND dialog_ = nullptr;
  SettingsDialogModel model_;
  uint8_t source_ = kFileTypeRandom;
  uint8_t conversion_ = kTransBasic;
  DialogLayout layout_;
  HintWindow hints_;
  ScopedIcon appIcon_;
  ScopedIcon creditIcon_;
  ScopedGdiObject<HFONT> fittedTitleFont_;
};

}  // namespace tessivane::dialogs
