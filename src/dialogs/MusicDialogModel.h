// What the music dialog decides, without any window: what its controls
// show at every activation and how OK and update test and store the music.
#pragma once
#include <string>

#include "base/MediaPlayer.h"
#include "settings/MusicSettings.h"
#include "settings/SettingsStore.h"

namespace tessivane::dialogs {

struct MusicControls {
  bool musicOn = false;  // rdbBGM selected (else rdbSilent)
  std::string path;      // edtBGM
};

struct MusicOutcome {
  bool saved = true;
  std::string message;  // for ShowErrorMessage when not saved
};

class MusicDialogModel {
public:
  // Loads the music record; it is written back when the model goes.
  explicit MusicDialogModel(MediaPlayerFactory makePlayer, SettingsStore& store = CurrentSettingsStore());

  MusicControls ActivationControls() const { return {record_.Flag, record_.File}; }

  // OK and update. With music on, the path must open in a player (the
  // player is freed again at once, closing its device); a path that does
  // not gives "[path]は再生できません。" and changes and saves nothing. With
  // music off any path is stored, untested. Registry errors while saving
  // propagate as RegistryError.
  MusicOutcome Save(const MusicControls& controls);

  const MusicSettings& Record() const { return record_; }

private:
  bool Playable(const std::string& path) const;

  MediaPlayerFactory makePlayer_;
  MusicSettings record_;
};

}  // namespace tessivane::dialogs
