// The music record: an in-memory copy of subkey "BGM". Constructing it
// loads, destroying it writes everything back.
#pragma once
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

namespace tessivane {

class MusicSettings {
public:
  // Loads; a value of a non-text type takes its default (see
  // UnreadableValues).
  explicit MusicSettings(SettingsStore& store = CurrentSettingsStore());
  ~MusicSettings();  // writes both values back, as Save does, unless one was unreadable
  MusicSettings(const MusicSettings&) = delete;
  MusicSettings& operator=(const MusicSettings&) = delete;

  // Writes "File", then "Flag"; throws RegistryError when a write fails.
  void Save();

  // The values that could not be read, as MainSettings::UnreadableValues.
  const std::vector<std::string>& UnreadableValues() const { return unreadable_; }

  std::string File;   // the music file
  bool Flag = false;  // play File while the screen saver runs

private:
  void Load();
  SettingsStore& store_;
  std::vector<std::string> unreadable_;
};

}  // namespace tessivane
