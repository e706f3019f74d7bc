// The per-method options record: an in-memory copy of subkey "Option".
// Constructing it loads, destroying it writes back what nobody stored
// meanwhile (WriteBackOnDestruction).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace tessivane {

class MethodOptions {
public:
  // Loads; a value of a non-text type takes its default (see
  // UnreadableValues).
  explicit MethodOptions(SettingsStore& store = CurrentSettingsStore());
  ~MethodOptions();  // writes back as MainSettings' destructor does
  MethodOptions(const MethodOptions&) = delete;
  MethodOptions& operator=(const MethodOptions&) = delete;

  // Writes "NoneXY", "Random", "Rotate", "XY"; throws RegistryError when a
  // write fails.
  void Save();

  // The values that could not be read, as MainSettings::UnreadableValues.
  const std::vector<std::string>& UnreadableValues() const { return loaded_.unreadable; }

  // The range and default of Rotate, and of the aspect steps XY and NoneXY
  // (the steps the composer shapes a piece with).
  static constexpr SettingRange kRotate = kRotateSetting;
  static constexpr SettingRange kAspect = kAspectSetting;

  // Assigns a value inside kRotate; any other value assigns its minimum.
  void SetRotate(int32_t value);

  // Random as loading leaves it: at least one character per stored method
  // code (short texts are padded with "0"), and the character of the random
  // choice itself "0".
  static std::string NormalizeRandom(const std::string& text);
  // Random without a stored value: "1" for the methods whose row says the
  // random choice picks them by default.
  static std::string DefaultRandom();

  // Every field takes its default from the value table when the record loads.
  int32_t NoneXY{};  // aspect step of the no-conversion method
  // One character per stored method code (character n for code n - 1):
  // "1" lets the random choice pick that method.
  std::string Random;
  int32_t Rotate{};  // value of the distorted-square method
  int32_t XY{};      // aspect step of the rectangle method

private:
  void Load();
  SettingsStore& store_;
  LoadedSettings loaded_;
};

}  // namespace tessivane
