// The main settings record: an in-memory copy of subkey "Settings".
// Constructing it loads every value, destroying it writes back every value
// that nobody stored meanwhile (WriteBackOnDestruction).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace tessivane {

// Source kinds (FileType): kFileTypeRandom, kFileTypeFile (BmpFileName),
// kFileTypeFolder (ImageFolderName), in settings/RunValues.h.

// Conversion kinds (TransType).
inline constexpr uint8_t kTransBasic = 0;   // the built-in method UnitType
inline constexpr uint8_t kTransPlugin = 1;  // the plug-in DllFileName

// Conversion kind <-> stored code: basic 1, plug-in 2; any other kind
// stores 1 and any other code loads as basic.
int32_t TransTypeToCode(uint8_t kind);
uint8_t CodeToTransType(int32_t code);

class MainSettings {
public:
  // Loads every value; a value of a non-text type takes its default (see
  // UnreadableValues).
  explicit MainSettings(SettingsStore& store = CurrentSettingsStore());
  // Writes back, as Save does, every value still stored as the record found
  // it; nothing when a value was unreadable.
  ~MainSettings();
  MainSettings(const MainSettings&) = delete;
  MainSettings& operator=(const MainSettings&) = delete;

  // Writes all sixteen values; throws RegistryError when a write fails.
  void Save();

  // The values whose stored type could not be read (a number or binary
  // data where text belongs), in load order; each took its default. While
  // there are any, the record does not write itself back when destroyed,
  // so the store is left as it is; Save writes every value and clears them.
  const std::vector<std::string>& UnreadableValues() const { return loaded_.unreadable; }

  // The ranges and defaults of Size, Move and Weight, and of FadeTime
  // (tenths of a second a picture change fades; 0, off, changes at a cut).
  static constexpr SettingRange kSize = kSizeSetting;
  static constexpr SettingRange kMove = kSpeedSetting;
  static constexpr SettingRange kWeight = kDelaySetting;
  static constexpr SettingRange kFadeTime = kFadeSetting;

  // Assign inside kSize, kMove and kWeight; otherwise throw SilentAbort and
  // keep the field.
  void SetSize(int32_t value);
  void SetMove(int32_t value);
  void SetWeight(int32_t value);
  // A negative time becomes 60 seconds.
  void SetImageChangeTime(int32_t value);

  static int32_t FileTypeToCode(uint8_t fileType);
  static uint8_t CodeToFileType(int32_t code);  // 2 and 3 stay, anything else is 1

  // Every field takes its default from the value table when the record loads.
  uint8_t FileType{};
  std::string BmpFileName;
  std::string ImageFolderName;
  int32_t Size{};      // the cut is CutSideOf(Size) pixels square
  int32_t Move{};      // speed of the sampling position
  int32_t Weight{};    // frame delay factor
  uint8_t UnitType{};  // conversion-method type number; 0 after an unknown code
  bool BrightnessChange{};
  bool MonoTone{};
  bool Blur{};  // stored as "ShadeOff"
  bool Shuffle{};
  uint8_t TransType{};
  std::string DllFileName;
  uint8_t MovePositionType{};  // motion kind 0..2
  int32_t ImageChangeTime{};   // seconds between pictures in folder mode
  int32_t FadeTime{};          // tenths of a second a picture change fades, kFadeTime

private:
  void Load();
  SettingsStore& store_;
  LoadedSettings loaded_;
};

}  // namespace tessivane
