// A media player: one file at a time through the system's media control
// interface on Windows, a fake in the tests. The background music of the
// saver and the music dialog's playability test use it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tessivane {

// How a play with a completion notice ended. Only kFinished means the file
// was played to its end; a play that a later one replaced reports
// kSuperseded, one that a stop or seek cut short kAborted.
enum class PlayEnd { kFinished, kSuperseded, kAborted, kFailed };

class MediaPlayer {
public:
  virtual ~MediaPlayer() = default;  // closes the device

  // Opens a device for the file (its type chosen by the system from the
  // file). False when it cannot be opened; any device open before is
  // closed first.
  virtual bool Open(const std::string& fileName) = 0;
  // Plays from the current position; the handler of SetEndHandler is
  // called once when this play ends (from the message loop, never from
  // within Play). False when the request failed; no notice follows then.
  virtual bool Play() = 0;
  virtual bool IsPlaying() const = 0;
  // Position and length in milliseconds (0 without a device).
  virtual int64_t Position() const = 0;
  virtual int64_t Length() const = 0;
  virtual bool SeekToStart() = 0;
  virtual void Stop() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Receives the end notices of plays; an empty handler ignores them.
  void SetEndHandler(std::function<void(PlayEnd)> handler) { endHandler_ = std::move(handler); }

protected:
  void ReportEnd(PlayEnd end) {
    if (endHandler_) endHandler_(end);
  }

private:
  std::function<void(PlayEnd)> endHandler_;
};

using MediaPlayerFactory = std::function<std::unique_ptr<MediaPlayer>()>;

#ifdef _WIN32
// The MCI player: a hidden message-only window of its own, of this class,
// receives the completion notices (test programs find a process's players
// by it). Throws std::runtime_error when that window cannot be made.
inline constexpr const wchar_t* kMciPlayerWindowClass = L"TessivaneMciPlayer";
std::unique_ptr<MediaPlayer> MakeMciPlayer();
#endif

}  // namespace tessivane
