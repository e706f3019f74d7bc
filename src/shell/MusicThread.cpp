#include "shell/MusicThread.h"

#include <windows.h>

#include <atomic>
#include <system_error>

#include "base/ScopedWin.h"
#include "saver/BackgroundMusic.h"

namespace tessivane {

// What the window's thread and the music thread share; the thread holds
// it too, so that one let go still finds its events when its open returns.
struct MusicThread::Signals {
  ScopedKernelHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  ScopedKernelHandle ended{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> opened{false};  // the open is over, whatever it gave
};

void MusicThread::Start(const std::string& file) {
  Stop();
  auto signals = std::make_shared<Signals>();
  if (!signals->stop || !signals->ended) return;
  try {
    // The music thread: opens and plays, then serves the player's notices
    // until it is asked to stop.
    work_.emplace([makePlayer = makePlayer_, file, signals] {
      struct Ended {
        Signals& s;
        ~Ended() { SetEvent(s.ended.get()); }
      } ended{*signals};
      BackgroundMusic music(makePlayer);
      music.Play(file);
      signals->opened = true;
      if (music.HasPlayer()) {
        HANDLE stop = signals->stop.get();
        // The stop comes first: notices that keep coming do not starve it.
        while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
          MSG msg;
          while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
      }
      music.Stop();
      return true;
    });
  } catch (const std::system_error&) {
    return;  // no thread, no music
  }
  signals_ = std::move(signals);
}

void MusicThread::Stop() {
  if (!work_) return;
  SetEvent(signals_->stop.get());
  if (signals_->opened && WaitForSingleObject(signals_->ended.get(), kStopWaitMs) == WAIT_OBJECT_0)
    work_->Wait();  // only its return is left: joined, not let go
  work_.reset();    // a thread still busy is let go
  signals_.reset();
}

}  // namespace tessivane
