// The music record: an in-memory copy of subkey "BGM". Constructing it
// loads, destroying it writes back what nobody stored meanwhile
// (WriteBackOnDestruction).
#pragma once
#include <string>
#include <vector>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace tessivane {

class MusicSettings {
public:
  // Loads; a value of a non-text type takes its default (see
  // UnreadableValues).
  explicit MusicSettings(SettingsStore& store = CurrentSettingsStore());
  ~MusicSettings();  // writes back as MainSettings' destructor does
  MusicSettings(const MusicSettings&) = delete;
  MusicSettings& operator=(const MusicSettings&) = delete;

  // Writes "File", then "Flag"; throws RegistryError when a write fails.
  void Save();

  // The values that could not be read, as MainSettings::UnreadableValues.
  const std::vector<std::string>& UnreadableValues() const { return loaded_.unreadable; }

  std::string File;   // the music file
  bool Flag = false;  // play File while the screen saver runs

private:
  void Load();
  SettingsStore& store_;
  LoadedSettings loaded_;
};

}  // namespace tessivane
