#include "saver/BackgroundMusic.h"

#include "settings/MusicSettings.h"

namespace tessivane {

std::vector<std::string> BackgroundMusic::Start(bool fullScreenRun, SettingsStore& store) {
  MusicChoice choice = Choose(fullScreenRun, store);
  if (choice.File) Play(*choice.File);
  return std::move(choice.UnreadableValues);
}

MusicChoice BackgroundMusic::Choose(bool fullScreenRun, SettingsStore& store) {
  if (!fullScreenRun) return {};
  MusicSettings settings(store);  // written back when the choice is made
  MusicChoice choice;
  if (settings.Flag) choice.File = settings.File;
  choice.UnreadableValues = settings.UnreadableValues();
  return choice;
}

void BackgroundMusic::Play(const std::string& file) {
  try {
    player_ = makePlayer_();
    if (!player_) return;
    player_->SetEndHandler([this](PlayEnd end) { PlayEnded(end); });
    if (!player_->Open(file) || !player_->Play()) player_.reset();
  } catch (...) {
    player_.reset();  // no music, no message
  }
}

void BackgroundMusic::PlayEnded(PlayEnd end) {
  // Only a play that reached the end of the file is followed by the next
  // one. A superseded or aborted play was replaced or stopped by its owner,
  // and a play still running has its own notice to come: nothing to wait
  // for. A file without length, or a rewind that fails, would end every
  // play at once; it stops the loop instead of spinning through it.
  if (end != PlayEnd::kFinished || !player_ || player_->IsPlaying()) return;
  if (player_->Length() <= 0 || !player_->SeekToStart()) return;
  player_->Play();
}

void BackgroundMusic::Stop() {
  if (!player_) return;
  player_->SetEndHandler(nullptr);
  if (player_->IsOpen()) {
    player_->Stop();
    player_->Close();
  }
  player_.reset();
}

}  // namespace tessivane
