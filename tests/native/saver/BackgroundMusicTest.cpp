#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "saver/BackgroundMusic.h"
#include "settings/MemorySettingsStore.h"
#include "support/FakeMediaPlayer.h"

namespace tessivane {
namespace {

using testing::FakeMediaPlayer;
using testing::FakePlayerFactory;
using testing::MediaJournal;
using Calls = std::vector<std::string>;

class BackgroundMusicTest : public ::testing::Test {
protected:
  void Choose(const std::string& file, const std::string& flag) {
    store.PutText("BGM", "File", file);
    store.PutText("BGM", "Flag", flag);
  }

  MemorySettingsStore store;
  MediaJournal journal;
  FakeMediaPlayer* player = nullptr;
  BackgroundMusic music{FakePlayerFactory(journal, &player)};
};

TEST_F(BackgroundMusicTest, FullScreenRunWithFlagOnOpensAndPlaysTheFile) {
  Choose("C:\\音楽\\loop.wav", "1");
  music.Start(true, store);
  EXPECT_TRUE(music.HasPlayer());
  EXPECT_EQ(journal.calls, (Calls{"open C:\\音楽\\loop.wav", "play"}));
  // The record is written back by the start, as every loaded record is.
  EXPECT_EQ(store.Text("BGM", "Flag"), "1");
}

TEST_F(BackgroundMusicTest, OtherRunsAndFlagOffMakeNoPlayer) {
  Choose("loop.wav", "1");
  music.Start(false, store);  // preview and settings runs
  EXPECT_EQ(journal.playersMade, 0);
  EXPECT_TRUE(store.writes().empty());  // the record is not even read

  Choose("loop.wav", "0");
  music.Start(true, store);
  EXPECT_EQ(journal.playersMade, 0);
  EXPECT_FALSE(music.HasPlayer());
}

TEST_F(BackgroundMusicTest, FailuresAreSilentAndLeaveNoPlayer) {
  Choose("", "1");
  journal.failOpen = true;
  EXPECT_NO_THROW(music.Start(true, store));
  EXPECT_FALSE(music.HasPlayer());
  EXPECT_EQ(journal.calls, (Calls{"open ", "free"}));

  journal = MediaJournal{};
  journal.failPlay = true;
  EXPECT_NO_THROW(music.Start(true, store));
  EXPECT_FALSE(music.HasPlayer());

  BackgroundMusic throwing([]() -> std::unique_ptr<MediaPlayer> { throw std::runtime_error("no window"); });
  EXPECT_NO_THROW(throwing.Start(true, store));
  EXPECT_FALSE(throwing.HasPlayer());
}

TEST_F(BackgroundMusicTest, AValueThatIsNotTextIsReturnedAndLeftInTheStore) {
  store.PutText("BGM", "File", "loop.wav");
  store.PutRaw("BGM", "Flag", kStoredBinary, {1});
  EXPECT_EQ(music.Start(true, store), std::vector<std::string>{"Flag"});
  EXPECT_EQ(journal.playersMade, 0) << "the unreadable switch counts as off";
  EXPECT_TRUE(store.writes().empty());
  EXPECT_TRUE(music.Start(false, store).empty());
}

TEST_F(BackgroundMusicTest, EveryFinishedPlayStartsAgainFromTheBeginning) {
  Choose("loop.wav", "1");
  music.Start(true, store);
  for (int i = 0; i < 3; ++i) player->EndPlay(PlayEnd::kFinished);
  EXPECT_EQ(journal.calls, (Calls{"open loop.wav", "play", "seek", "play", "seek", "play", "seek", "play"}));
  EXPECT_TRUE(journal.playing);
}

TEST_F(BackgroundMusicTest, OnlyAPlayThatReallyEndedIsFollowed) {
  Choose("loop.wav", "1");
  music.Start(true, store);
  journal.calls.clear();
  player->EndPlay(PlayEnd::kSuperseded);
  player->EndPlay(PlayEnd::kAborted);
  player->EndPlay(PlayEnd::kFailed);
  // A finished notice while a newer play is running: that play notifies
  // itself, so nothing restarts and nothing waits for it.
  journal.playing = true;
  player->Notify(PlayEnd::kFinished);
  EXPECT_TRUE(journal.calls.empty());
  journal.playing = false;
  player->Notify(PlayEnd::kFinished);
  EXPECT_EQ(journal.calls, (Calls{"seek", "play"}));
}

TEST_F(BackgroundMusicTest, AFileThatEndsAtOnceOrCannotRewindStopsTheLoop) {
  Choose("empty.wav", "1");
  journal.length = 0;
  music.Start(true, store);
  journal.calls.clear();
  player->EndPlay(PlayEnd::kFinished);
  EXPECT_TRUE(journal.calls.empty());

  journal.length = 300;
  journal.failSeek = true;
  player->EndPlay(PlayEnd::kFinished);
  EXPECT_EQ(journal.calls, (Calls{"seek"}));
}

TEST_F(BackgroundMusicTest, StopAndDestructionStopCloseAndFreeThePlayerOnce) {
  Choose("loop.wav", "1");
  music.Start(true, store);
  journal.calls.clear();
  music.Stop();
  EXPECT_EQ(journal.calls, (Calls{"stop", "close", "free"}));
  EXPECT_FALSE(music.HasPlayer());
  music.Stop();  // twice is harmless
  EXPECT_EQ(journal.calls.size(), 3u);

  journal = MediaJournal{};
  {
    BackgroundMusic owned(FakePlayerFactory(journal));
    owned.Start(true, store);
  }
  EXPECT_EQ(journal.calls, (Calls{"open loop.wav", "play", "stop", "close", "free"}));
}

}  // namespace
}  // namespace tessivane
