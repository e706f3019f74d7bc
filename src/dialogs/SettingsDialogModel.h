// What the settings dialog decides, without any window: the values its
// controls start with, which controls each radio button enables, the
// edit box <-> scroll bar synchronisation of the value rows, and the
// validation and transfer of OK and update. The Windows dialog only moves
// values between its controls and this model.
#pragma once
#include <cstdint>
#include <string>

#include "settings/SettingsStore.h"
#include "settings/MainSettings.h"

namespace tessivane::dialogs {

// A scroll bar's range: the setting's own, whose Clamp brings a position
// outside it to the nearer bound as a scroll bar control does, and the
// step of a page.
struct ValueRange : SettingRange {
  int32_t largeStep;
};
inline constexpr ValueRange kSizeRange{MainSettings::kSize, 4};
inline constexpr ValueRange kMoveRange{MainSettings::kMove, 1};
inline constexpr ValueRange kWeightRange{MainSettings::kWeight, 10};

// A whole decimal integer as the dialogs accept one: optional blanks
// before, an optional sign, digits, nothing after, within 32 bits.
bool ParseInteger(const std::string& text, int32_t& value);

// One value row: the scroll bar's position and the edit box's text.
struct ValueRow {
  int32_t position = 0;
  std::string text;
};

// A row whose scroll bar moved: the edit box shows the position.
void ShowPosition(ValueRow& row);
// The edit box lost the focus: an integer moves the scroll bar (clamped)
// and the edit box then shows the position; any other text is left as it
// is and the scroll bar stays.
void TakeEditText(ValueRow& row, const ValueRange& range);

// The contents of the dialog's controls.
struct SettingsControls {
  int methodListPosition = 0;        // cmbType; -1 when nothing is selected
  uint8_t conversion = kTransBasic;  // which conversion radio button is on
  std::string pluginFile;
  bool shuffle = false;
  bool monoTone = false;
  bool blur = false;
  bool brightnessChange = false;
  uint8_t source = kFileTypeRandom;  // which source radio button is on
  std::string imageFile;
  std::string imageFolder;
  int motionListPosition = 0;  // cmbMove; -1 when nothing is selected
  std::string intervalText;
  std::string fadeText;  // tenths of a second
  ValueRow size, move, weight;
};

// Which controls the radio buttons leave enabled. The edit boxes of the
// source area are also painted in the window colour when enabled and the
// button-face colour when not.
struct EnabledControls {
  bool imageFileEdit = false, imageFileBrowse = false;
  bool imageFolderEdit = false, imageFolderBrowse = false, intervalEdit = false;
  bool methodList = true, detailsButton = true;
  bool pluginEdit = false, pluginBrowse = false;
  bool fadeEdit = false;
};
EnabledControls EnabledFor(uint8_t source, uint8_t conversion);

// The control (ControlIds.h) that a source or conversion radio button
// focuses when the user chooses it; 0 for none (the random picture).
int FocusForSource(uint8_t source);
int FocusForConversion(uint8_t conversion);

// How SaveSettings ended, for the window to show.
struct SaveOutcome {
  enum class Kind {
    kSaved,
    kMessage,        // ShowErrorMessage(message)
    kUnitError,      // ShowUnitError(unitError, detail)
    kStandardError,  // the standard error box with message, as for an uncaught error
    kAlreadyShown,   // the plug-in check has shown its error itself
  };
  Kind kind = Kind::kSaved;
  std::string message;
  int unitError = 0;
  std::string detail;    // of the unit error: the picture file's name
  int focusControl = 0;  // control to focus after the message; 0 for none
  bool Saved() const { return kind == Kind::kSaved; }
};

class SettingsDialogModel {
public:
  // Loads the main settings record; it is written back when the model goes.
  explicit SettingsDialogModel(SettingsStore& store = CurrentSettingsStore());

  // What the controls show when the dialog opens.
  SettingsControls InitialControls() const;

  // OK and update: validates the controls (image file, picture size, image
  // folder, plug-in, interval, in this order), then assigns every value to
  // the record and saves it. The value rows' edit boxes are refreshed from
  // their scroll bars. On any failure nothing is assigned or saved.
  // Registry errors while saving propagate as RegistryError.
  SaveOutcome Save(SettingsControls& controls);

  const MainSettings& Record() const { return record_; }

private:
  MainSettings record_;
};

}  // namespace tessivane::dialogs
