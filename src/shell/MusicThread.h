// The background music on a thread of its own. Opening a music file takes
// as long as the file system and the media device like (a very large file
// is read through, a share that stops answering never answers), so the
// window's thread never opens one: the music thread owns the player, whose
// notices reach a window of that thread, and runs its own message loop.
// The window's thread only asks it to start and to stop.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "base/MediaPlayer.h"
#include "saver/BackgroundWork.h"

namespace tessivane {

class MusicThread {
public:
  explicit MusicThread(MediaPlayerFactory makePlayer) : makePlayer_(std::move(makePlayer)) {}
  ~MusicThread() { Stop(); }
  MusicThread(const MusicThread&) = delete;
  MusicThread& operator=(const MusicThread&) = delete;

  // Returns at once; the thread opens `file` and plays it again each time
  // it ends (BackgroundMusic). Every failure, a thread that cannot start
  // included, is silent: no music.
  void Start(const std::string& file);

  // Stops and closes the music. Waits for the thread only when it has
  // opened its file, and then at most kStopWaitMs; a thread still opening
  // is let go, and stops and ends by itself when the open returns.
  void Stop();

  static constexpr unsigned long kStopWaitMs = 2000;

private:
  struct Signals;

  MediaPlayerFactory makePlayer_;
  std::shared_ptr<Signals> signals_;
  std::optional<BackgroundWork<bool>> work_;
};

}  // namespace tessivane
