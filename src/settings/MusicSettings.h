// The music record: an in-memory copy of subkey "BGM". Constructing it
// loads, destroying it writes everything back.
#pragma once
#include <string>

#include "settings/SettingsStore.h"

namespace tessivane {

class MusicSettings {
public:
  // Loads; throws RegistryError when a value has a non-text type.
  explicit MusicSettings(SettingsStore& store = CurrentSettingsStore());
  ~MusicSettings();  // writes both values back, as Save does
  MusicSettings(const MusicSettings&) = delete;
  MusicSettings& operator=(const MusicSettings&) = delete;

  // Writes "File", then "Flag"; throws RegistryError when a write fails.
  void Save() const;

  std::string File;   // the music file
  bool Flag = false;  // play File while the screen saver runs

private:
  void Load();
  SettingsStore& store_;
};

}  // namespace tessivane
