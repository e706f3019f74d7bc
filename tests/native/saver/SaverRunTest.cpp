#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Random.h"
#include "saver/FrameLoop.h"
#include "saver/SaverRun.h"
#include "settings/MemorySettingsStore.h"
#include "support/ErrorRecorder.h"
#include "WorkerWait.h"

namespace tessivane {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr Point kSize{320, 200};

// A run of the frame loop with a fake clock, a fake picture loader that
// answers when the test lets it, and the timer and the paints recorded.
class SaverRunTest : public ::testing::Test {
protected:
  SaverRunTest() {
    SetErrorDisplay(&recorder);
    store.PutText("Settings", "Weight", "3");  // 30 ms between frames
  }
  ~SaverRunTest() override {
    SetErrorDisplay(nullptr);
    WaitForWorkersToEnd();
  }
  // File mode, or with `folder` a new picture every second.
  void Make(bool folder = false) {
    run.reset();
    loop.reset();  // its records write themselves back first
    store.PutText("Settings", "FileType", folder ? "3" : "2");
    store.PutText("Settings", "BmpFileName", "first.bmp");
    store.PutText("Settings", "ImageFolderName", ".");
    store.PutText("Settings", "ImageChangeTime", "1");
    loop.emplace(false, store, ProgramRandom(), [this] { return now; });
    loop->UsePictureLoader([this](const std::string&) { return Picture(); });
    run.emplace(
        *loop, [this](SaverRun::Arming, uint32_t ms) { timer.push_back(ms); },
        [this](const Composer& c) {
          painted.push_back(c.TileImage().Width());
          if (pictureNoticeInPaint) run->PictureReady(kSize);  // inside a step: waits for the frame's end
        });
  }
  // A folder run whose frames run; the second frame's end begins a change.
  void StartFolderAndBeginAChange() {
    Make(/*folder=*/true);
    run->Start(kSize);
    ListingIn();
    Deliver(Bitmap(200, 200));
    run->PictureReady(kSize);
    run->Tick(kSize);
    now += 2 * kSecond;
    run->Tick(kSize);
    ListingIn();
  }
  // The folder's listing is in: the run draws from it and the decode starts.
  void ListingIn() {
    loop->WaitForPicture();
    run->PictureReady(kSize);
  }
  // The next picture the fake loader hands over, once the test lets it.
  Bitmap Picture() {
    std::future<Bitmap> next = pictures.back().get_future();
    return next.get();
  }
  void Deliver(Bitmap picture) {
    pictures.back().set_value(std::move(picture));
    loop->WaitForPicture();
    pictures.emplace_back();
  }

  MemorySettingsStore store;
  testing::ErrorRecorder recorder;
  ScopedSeedSource seed{FixedSeed(20261208)};
  DateTime now = 46000.25;
  std::vector<std::promise<Bitmap>> pictures = std::vector<std::promise<Bitmap>>(1);
  std::optional<FrameLoop> loop;
  std::optional<SaverRun> run;
  std::vector<uint32_t> timer;  // every interval the run armed, 0 for stopped
  std::vector<int> painted;     // the width of each tile painted
  bool pictureNoticeInPaint = false;
};

TEST_F(SaverRunTest, FirstPictureLateWaitsWithTheTimerStoppedThenFramesStart) {
  Make();
  run->Resize(kSize);  // before the start: nothing to resize
  run->Start(kSize);
  run->Start(kSize);  // a second activation changes nothing
  run->Tick(kSize);   // the picture is still decoding
  EXPECT_TRUE(painted.empty());
  Deliver(Bitmap(200, 200));
  run->PictureReady(kSize);
  run->Tick(kSize);
  EXPECT_EQ(timer, (std::vector<uint32_t>{FrameLoop::kFirstFrameMs, 0, 0, FrameLoop::kFirstFrameMs, 0, 30}));
  EXPECT_EQ(painted.size(), 1u);
  run->Resize({64, 48});  // after the start: the frame takes the size at once
  EXPECT_EQ(loop->FrameComposer()->Image().Width(), 64);
  run->End();
  run->Tick(kSize);
  EXPECT_EQ(timer.back(), 0u);
  EXPECT_EQ(painted.size(), 1u);
}

TEST_F(SaverRunTest, PictureReadyBetweenFramesKeepsTheIntervalAndWaitsWhileAFrameRuns) {
  StartFolderAndBeginAChange();
  Deliver(Bitmap(300, 300));
  timer.clear();
  run->PictureReady(kSize);
  EXPECT_EQ(timer, (std::vector<uint32_t>{0, 30}));
  EXPECT_EQ(loop->FrameComposer()->Source().Width(), 300);
  // A notice during a frame is left to the frame's end.
  now += 2 * kSecond;
  run->Tick(kSize);
  ListingIn();
  Deliver(Bitmap(400, 400));
  pictureNoticeInPaint = true;
  run->Tick(kSize);
  EXPECT_EQ(loop->FrameComposer()->Source().Width(), 400);
  EXPECT_EQ(timer.back(), 30u);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SaverRunTest, AnErrorLeavesTheTimerStoppedAtTheSetUpAndAtAChange) {
  store.PutText("Settings", "UnitType", "42");  // no such method: error 6 at the set-up
  Make();
  EXPECT_THROW(testing::AsFrontEnd([&] { run->Start(kSize); }), UnitFailed);
  EXPECT_EQ(run->Interval(), 0u);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrBadMethod, "")});

  run.reset();
  loop.reset();
  store.PutText("Settings", "UnitType", "0");
  StartFolderAndBeginAChange();
  pictures.back().set_exception(std::make_exception_ptr(std::logic_error("broken decoder")));
  loop->WaitForPicture();
  EXPECT_THROW(run->PictureReady(kSize), std::logic_error);
  EXPECT_EQ(run->Interval(), 0u);
}

}  // namespace
}  // namespace tessivane
