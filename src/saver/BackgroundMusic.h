// The background music of a saver run: the chosen file plays from its
// beginning again each time it ends, for as long as the run lasts. Only the
// full-screen run plays; every failure of the music is silent.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/MediaPlayer.h"
#include "settings/SettingsStore.h"

namespace tessivane {

// What a run plays: the file, when the run is full screen and the music
// record's Flag is on, and the record's values that could not be read.
struct MusicChoice {
  std::optional<std::string> File;
  std::vector<std::string> UnreadableValues;
};

class BackgroundMusic {
public:
  explicit BackgroundMusic(MediaPlayerFactory makePlayer) : makePlayer_(std::move(makePlayer)) {}
  ~BackgroundMusic() { Stop(); }
  BackgroundMusic(const BackgroundMusic&) = delete;
  BackgroundMusic& operator=(const BackgroundMusic&) = delete;

  // At the end of the saver window's creation. A full-screen run loads the
  // music record (written back at once) and, when its Flag is on, makes a
  // player, opens File and plays it. A player that cannot be made, opened
  // or started is dropped without a word. Other runs neither read the
  // record nor make a player. Returns the record's values that could not
  // be read (MusicSettings::UnreadableValues), for the caller to report.
  std::vector<std::string> Start(bool fullScreenRun, SettingsStore& store = CurrentSettingsStore());

  // The first half of Start: only a full-screen run loads the music record
  // (written back at once) and takes its File when its Flag is on.
  static MusicChoice Choose(bool fullScreenRun, SettingsStore& store = CurrentSettingsStore());
  // The second half: makes a player, opens the file and plays it; a player
  // that cannot be made, opened or started is dropped without a word. The
  // open may take as long as the file system does.
  void Play(const std::string& file);

  // Stops and closes the device and frees the player; no notice is
  // followed after this.
  void Stop();

  bool HasPlayer() const { return player_ != nullptr; }

private:
  void PlayEnded(PlayEnd end);

  MediaPlayerFactory makePlayer_;
  std::unique_ptr<MediaPlayer> player_;
};

}  // namespace tessivane
