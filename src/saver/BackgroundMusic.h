// The background music of a saver run: the chosen file plays from its
// beginning again each time it ends, for as long as the run lasts. Only the
// full-screen run plays; every failure of the music is silent.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "base/MediaPlayer.h"
#include "settings/SettingsStore.h"

namespace tessivane {

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

  // Stops and closes the device and frees the player; no notice is
  // followed after this.
  void Stop();

  bool HasPlayer() const { return player_ != nullptr; }

private:
  void Play(const std::string& file);
  void PlayEnded(PlayEnd end);

  MediaPlayerFactory makePlayer_;
  std::unique_ptr<MediaPlayer> player_;
};

}  // namespace tessivane
