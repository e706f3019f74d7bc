#include "dialogs/MusicDialogModel.h"

#include <exception>

#include "base/Errors.h"
#include "base/Texts.h"

namespace tessivane::dialogs {

MusicDialogModel::MusicDialogModel(MediaPlayerFactory makePlayer, SettingsStore& store)
    : makePlayer_(std::move(makePlayer)), record_(store) {}

bool MusicDialogModel::Playable(const std::string& path) const {
  try {
    std::unique_ptr<MediaPlayer> player = makePlayer_();
    return player && player->Open(path);  // freeing the player closes the device
  } catch (const std::exception&) {
    return false;  // no player at all: nothing can be played
  }
}

MusicOutcome MusicDialogModel::Save(const MusicControls& controls) {
  // The flag changes only with a successful test, so a refused path never
  // reaches the store, not even when the record is written back at the end.
  if (controls.musicOn && !Playable(controls.path)) {
    return {false, Format(Tr(TextId::kMusicCannotPlay), controls.path.c_str())};
  }
  record_.Flag = controls.musicOn;
  record_.File = controls.path;
  record_.Save();
  return {};
}

}  // namespace tessivane::dialogs
