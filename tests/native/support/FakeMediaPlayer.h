// A MediaPlayer for tests: keeps a log of the calls in a journal shared
// with the test, fails the operations a test asks it to fail, and ends a
// play only when the test says so (EndPlay).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "base/MediaPlayer.h"

namespace tessivane::testing {

struct MediaJournal {
  std::vector<std::string> calls;  // "open <file>", "play", "seek", "stop", "close", "free"
  int playersMade = 0;
  bool failOpen = false;
  bool failPlay = false;
  bool failSeek = false;
  int64_t length = 300;
  bool playing = false;  // the mode the player reports
};

class FakeMediaPlayer final : public MediaPlayer {
public:
  explicit FakeMediaPlayer(MediaJournal& journal) : journal_(journal) { ++journal_.playersMade; }
  ~FakeMediaPlayer() override { journal_.calls.push_back("free"); }

  bool Open(const std::string& fileName) override {
    journal_.calls.push_back("open " + fileName);
    open_ = !journal_.failOpen;
    return open_;
  }
  bool Play() override {
    journal_.calls.push_back("play");
    if (journal_.failPlay || !open_) return false;
    journal_.playing = true;
    return true;
  }
  bool IsPlaying() const override { return journal_.playing; }
  int64_t Position() const override { return 0; }
  int64_t Length() const override { return open_ ? journal_.length : 0; }
  bool SeekToStart() override {
    journal_.calls.push_back("seek");
    return !journal_.failSeek;
  }
  void Stop() override {
    journal_.calls.push_back("stop");
    journal_.playing = false;
  }
  void Close() override {
    journal_.calls.push_back("close");
    open_ = false;
  }
  bool IsOpen() const override { return open_; }

  // The notice of the current play, as the message loop would deliver it.
  void EndPlay(PlayEnd end) {
    if (end == PlayEnd::kFinished) journal_.playing = false;
    ReportEnd(end);
  }
  // A notice that arrives while the mode says something else (a late one).
  void Notify(PlayEnd end) { ReportEnd(end); }

private:
  MediaJournal& journal_;
  bool open_ = false;
};

// A factory that makes fakes over one journal and remembers the last one.
inline MediaPlayerFactory FakePlayerFactory(MediaJournal& journal, FakeMediaPlayer** last = nullptr) {
  return [&journal, last]() -> std::unique_ptr<MediaPlayer> {
    auto player = std::make_unique<FakeMediaPlayer>(journal);
    if (last) *last = player.get();
    return player;
  };
}

}  // namespace tessivane::testing
