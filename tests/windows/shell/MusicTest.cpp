// Background music on the system's real media control interface under
// Wine, with the silent sound output of scripts/lib/wine-test: the player
// on WAV, MP3 and MIDI files, the endless loop with frames going on, and
// the saver's runs seen from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "base/MediaPlayer.h"
#include "base/Utf.h"
#include "saver/BackgroundMusic.h"
#include "settings/MemorySettingsStore.h"
#include "support/SoundFiles.h"

namespace tessivane::test {
namespace {

constexpr int kShortWavMs = 300;
constexpr DWORD kLoopWatch = 3000;  // the loop test's run

struct PlayCounts {
  int plays = 0;
  int finished = 0;
  int other = 0;
};

// A real player that counts its plays and their ends.
class CountingPlayer final : public MediaPlayer {
public:
  explicit CountingPlayer(PlayCounts& counts) : inner_(MakeMciPlayer()), counts_(counts) {
    inner_->SetEndHandler([this](PlayEnd end) {
      (end == PlayEnd::kFinished ? counts_.finished : counts_.other) += 1;
      ReportEnd(end);
    });
  }
  bool Open(const std::string& fileName) override { return inner_->Open(fileName); }
  bool Play() override {
    ++counts_.plays;
    return inner_->Play();
  }
  bool IsPlaying() const override { return inner_->IsPlaying(); }
  int64_t Position() const override { return inner_->Position(); }
  int64_t Length() const override { return inner_->Length(); }
  bool SeekToStart() override { return inner_->SeekToStart(); }
  void Stop() override { inner_->Stop(); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }

private:
  std::unique_ptr<MediaPlayer> inner_;
  PlayCounts& counts_;
};

std::string Utf8(const std::wstring& path) { return Narrow(path); }

// Processor time of a process in milliseconds (user and kernel).
double CpuMs(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// Runs this thread's messages for ms with a 10 ms thread timer standing in
// for the frame timer; its ticks served.
int RunFrames(DWORD ms) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  int ticks = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) ++ticks;
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
  KillTimer(nullptr, timer);
  return ticks;
}

// Runs messages until the player reports the end of its play.
bool WaitForEnd(MediaPlayer& player, PlayEnd& end, DWORD ms) {
  bool ended = false;
  player.SetEndHandler([&](PlayEnd e) {
    end = e;
    ended = true;
  });
  const DWORD start = GetTickCount();
  while (!ended && GetTickCount() - start < ms) RunFrames(10);
  player.SetEndHandler(nullptr);
  return ended;
}

// The media players of a process: its message-only windows of the
// player's class.
int PlayerWindows(DWORD processId) {
  int count = 0;
  HWND wnd = nullptr;
  while ((wnd = FindWindowExW(HWND_MESSAGE, wnd, kMciPlayerWindowClass, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    count += owner == processId;
  }
  return count;
}

TEST(MciPlayer, AShortWavPlaysToItsEndInRealTimeAndNotifies) {
  TempFolder folder;
  WriteWav(folder.File(L"短い.wav"), kShortWavMs);
  auto player = MakeMciPlayer();
  ASSERT_TRUE(player->Open(Utf8(folder.File(L"短い.wav"))));
  EXPECT_NEAR(static_cast<double>(player->Length()), kShortWavMs, 30);
  const DWORD start = GetTickCount();
  ASSERT_TRUE(player->Play());
  EXPECT_TRUE(player->IsPlaying());
  PlayEnd end = PlayEnd::kFailed;
  ASSERT_TRUE(WaitForEnd(*player, end, 5000)) << "no notice";
  const DWORD took = GetTickCount() - start;
  EXPECT_EQ(end, PlayEnd::kFinished);
  EXPECT_GE(took, static_cast<DWORD>(kShortWavMs) - 50) << "played in real time";
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_EQ(player->Position(), player->Length());
  EXPECT_TRUE(player->SeekToStart());
  EXPECT_EQ(player->Position(), 0);
  player->Close();
  EXPECT_FALSE(player->IsOpen());
}

// A device may post its success notice while it still says it plays (the
// MPEG device under Wine does so from a thread that stops the stream only
// afterwards). Such a notice stands in here for that one: posted mid-play,
// it must not be reported while the device plays. A short play ends within
// the wait and is then reported; a long one outlasts it, and only its own
// notice is reported.
TEST(MciPlayer, ASuccessNoticeIsReportedOnlyOnceTheDeviceHasStopped) {
  TempFolder folder;
  for (const int lengthMs : {kShortWavMs, 1600}) {
    SCOPED_TRACE(lengthMs);
    WriteWav(folder.File(L"tone.wav"), lengthMs);
    auto player = MakeMciPlayer();
    ASSERT_TRUE(player->Open(Utf8(folder.File(L"tone.wav"))));
    struct Report {
      PlayEnd end;
      bool playing;
      DWORD at;
    };
    std::vector<Report> reports;
    const DWORD start = GetTickCount();
    player->SetEndHandler([&](PlayEnd end) {
      reports.push_back({end, player->IsPlaying(), GetTickCount() - start});
    });
    ASSERT_TRUE(player->Play());
    RunFrames(100);
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, kMciPlayerWindowClass, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(player->IsPlaying());
    PostMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    RunFrames(lengthMs + 1000);

    ASSERT_FALSE(reports.empty()) << "the end was reported";
    for (const Report& report : reports) {
      EXPECT_EQ(report.end, PlayEnd::kFinished);
      EXPECT_FALSE(report.playing) << "reported at " << report.at << " ms while the device played";
      EXPECT_GE(report.at, static_cast<DWORD>(lengthMs) - 50);
    }
    if (lengthMs > 1100) {
      EXPECT_EQ(reports.size(), 1u) << "the notice the play outlasted was dropped";
    }
    player->SetEndHandler(nullptr);
  }
}

TEST(MciPlayer, FilesItCannotOpenAreRefusedAtOnce) {
  TempFolder folder;
  WriteBytes(folder.File(L"text.wav"), "not a sound at all");
  WriteBytes(folder.File(L"empty.wav"), "");
  auto player = MakeMciPlayer();
  for (const std::wstring& path : {folder.File(L"gone.wav"), folder.File(L"text.wav"),
                                   folder.File(L"empty.wav"), folder.Path(), std::wstring()}) {
    const DWORD start = GetTickCount();
    EXPECT_FALSE(player->Open(Utf8(path))) << Utf8(path);
    EXPECT_LT(GetTickCount() - start, 3000u) << Utf8(path);
    EXPECT_FALSE(player->IsOpen());
    EXPECT_FALSE(player->Play());
  }
}

TEST(MciPlayer, Mp3PlaysToItsEnd) {
  TempFolder folder;
  WriteMp3(folder.File(L"silence.mp3"), 600);
  auto player = MakeMciPlayer();
  ASSERT_TRUE(player->Open(Utf8(folder.File(L"silence.mp3"))));
  ASSERT_TRUE(player->Play());

  PlayEnd end = PlayEnd::kFailed;
  ASSERT_TRUE(WaitForEnd(*player, end, 8000)) << "no notice";
  EXPECT_EQ(end, PlayEnd::kFinished);
}

// There is no MIDI output here: whatever the open and the play do, nothing
// may wait for them.
TEST(MciPlayer, MidiNeverBlocks) {
  TempFolder folder;
  WriteMidi(folder.File(L"note.mid"));
  MemorySettingsStore store;
  store.PutText("BGM", "File", Utf8(folder.File(L"note.mid")));
  store.PutText("BGM", "Flag", "1");
  const DWORD start = GetTickCount();
  {
    BackgroundMusic music(&MakeMciPlayer);
    music.Start(true, store);
    EXPECT_GT(RunFrames(1000), 50) << "frames go on";
    music.Stop();
  }
  EXPECT_LT(GetTickCount() - start, 6000u);
}

TEST(BackgroundMusicOnMci, AShortWavRestartsAgainAndAgainWhileFramesGoOn) {
  TempFolder folder;
  WriteWav(folder.File(L"loop.wav"), kShortWavMs);
  MemorySettingsStore store;
  store.PutText("BGM", "File", Utf8(folder.File(L"loop.wav")));
  store.PutText("BGM", "Flag", "1");
  PlayCounts counts;
  BackgroundMusic music([&counts] { return std::make_unique<CountingPlayer>(counts); });

  // The same frames without music first: the processor time to compare.
  const double idleStart = CpuMs(GetCurrentProcess());
  const int idleTicks = RunFrames(kLoopWatch);
  const double idleCpu = CpuMs(GetCurrentProcess()) - idleStart;

  music.Start(true, store);
  ASSERT_TRUE(music.HasPlayer());
  const double start = CpuMs(GetCurrentProcess());
  const int ticks = RunFrames(kLoopWatch);
  const double cpu = CpuMs(GetCurrentProcess()) - start;
  // About one end every 0.35 s; every end was a real one and restarted.
  EXPECT_GE(counts.finished, 4);
  EXPECT_EQ(counts.other, 0);
  EXPECT_EQ(counts.plays, counts.finished + 1);
  EXPECT_GE(ticks, idleTicks * 3 / 4) << "frames are served while the music loops";
  std::printf("loop: %d plays in %lu ms; cpu %.0f ms with music, %.0f ms without\n", counts.plays,
              static_cast<unsigned long>(kLoopWatch), cpu, idleCpu);
  EXPECT_LT(cpu, kLoopWatch * 0.5) << "no waiting loop spins";

  music.Stop();
  const int plays = counts.plays;
  RunFrames(kShortWavMs * 2);
  EXPECT_EQ(counts.plays, plays) << "nothing plays after the stop";
}

TEST(BackgroundMusicOnMci, AnMp3LoopsToo) {
  TempFolder folder;
  WriteMp3(folder.File(L"loop.mp3"), kShortWavMs);
  MemorySettingsStore store;
  store.PutText("BGM", "File", Utf8(folder.File(L"loop.mp3")));
  store.PutText("BGM", "Flag", "1");
  PlayCounts counts;
  BackgroundMusic music([&counts] { return std::make_unique<CountingPlayer>(counts); });
  music.Start(true, store);
  // Each play of the MPEG device pays the start of its decoding pipeline,
  // which on a loaded machine can take longer than the file lasts: wait for
  // the third play with room to spare rather than counting plays in a fixed
  // time. That device now and then sends a second success notice while the
  // next play runs; it restarts nothing.
  const DWORD start = GetTickCount();
  while (counts.plays < 3 && GetTickCount() - start < kLoopWatch * 5) RunFrames(50);
  EXPECT_GE(counts.plays, 3) << "the MP3 restarted after its ends";
  EXPECT_LE(counts.plays, counts.finished + 1);
  music.Stop();
}

class MusicRun : public ::testing::Test {
protected:
  void SetUp() override {
    DeleteProductKey();
    WriteWav(folder_.File(L"loop.wav"), kShortWavMs);
  }
  void TearDown() override {
    saver_.reset();
    DeleteProductKey();
  }
  void ChooseMusic(const std::wstring& file) {
    PutSetting("BGM", "File", file);
    PutSetting("BGM", "Flag", L"1");
  }
  void StartSaver() {
    SetCursorPos(300, 300);
    saver_.emplace(L"/s");
    wnd_ = saver_->WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd_, nullptr);
  }
  // Closes the saver with a key; no box may have come up.
  void CloseSilently() {
    EXPECT_EQ(saver_->WaitForWindow(L"#32770", 0), nullptr) << "no message";
    PostKey(wnd_, VK_SPACE);
    EXPECT_TRUE(saver_->WaitForExit(kExitBound));
    EXPECT_EQ(saver_->ExitCode(), 0u);
  }

  TempFolder folder_;
  std::optional<SaverProcess> saver_;
  HWND wnd_ = nullptr;
};

TEST_F(MusicRun, TheFullScreenSaverPlaysTheChosenFileWhileThePatternMoves) {
  ChooseMusic(folder_.File(L"loop.wav"));
  ASSERT_NO_FATAL_FAILURE(StartSaver());
  PumpFor(1000);
  EXPECT_EQ(PlayerWindows(saver_->Id()), 1);
  const Shot first = Capture(wnd_);
  PumpFor(1500);  // several ends and restarts of the file
  EXPECT_NE(Capture(wnd_), first) << "frames go on";
  EXPECT_EQ(PlayerWindows(saver_->Id()), 1);
  CloseSilently();
  EXPECT_EQ(Setting("BGM", "Flag"), L"1");
}

TEST_F(MusicRun, AMissingOrEmptyFileStartsSilently) {
  WriteBytes(folder_.File(L"empty.wav"), "");
  for (const std::wstring& file : {folder_.File(L"gone.wav"), folder_.File(L"empty.wav"), std::wstring()}) {
    ChooseMusic(file);
    ASSERT_NO_FATAL_FAILURE(StartSaver());
    PumpFor(1000);
    EXPECT_EQ(PlayerWindows(saver_->Id()), 0) << "a player that failed is dropped";
    CloseSilently();
  }
}

// A file of 16 GB of nothing (sparse, it takes no disk): the MPEG device
// reads it all through before its open fails, about ten seconds a GB.
// The open used to hold the window's thread: no window and no way out
// until long after every bound here.
TEST_F(MusicRun, AFileThatTakesForEverToOpenHoldsNeitherTheFramesNorTheEnd) {
  const std::wstring huge = folder_.File(L"huge.mp3");
  {
    ScopedKernelHandle file(CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER size{};
    size.QuadPart = 16LL << 30;
    ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
  }
  ChooseMusic(huge);
  ASSERT_NO_FATAL_FAILURE(StartSaver());
  PumpFor(kSettle);
  const Shot first = Capture(wnd_);
  PumpFor(kSettle);
  EXPECT_NE(Capture(wnd_), first) << "the pattern moves";
  // A file of nothing never plays: a player still there is still opening.
  EXPECT_EQ(PlayerWindows(saver_->Id()), 1) << "the open must stall for this test to mean anything";
  CloseSilently();
}

TEST_F(MusicRun, PreviewAndSettingsRunsMakeNoPlayer) {
  ChooseMusic(folder_.File(L"loop.wav"));
  {
    HostWindow host(200, 150);
    SaverProcess preview(L"/p " + HandleText(host.Handle()));
    ASSERT_NE(host.WaitForChild(L"SaverWindow", kStartBound), nullptr);
    PumpFor(1000);
    EXPECT_EQ(PlayerWindows(preview.Id()), 0);
    host.Destroy();
    EXPECT_TRUE(preview.WaitForExit(kExitBound));
  }
  SaverProcess settings(L"/c");
  ASSERT_NE(settings.WaitForWindow(L"#32770", kStartBound), nullptr);
  PumpFor(1000);
  EXPECT_EQ(PlayerWindows(settings.Id()), 0);
}

}  // namespace
}  // namespace tessivane::test
