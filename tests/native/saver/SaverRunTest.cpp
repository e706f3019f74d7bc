#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Random.h"
#include "saver/FrameLoop.h"
#include "saver/SaverRun.h"
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
    config.FrameIntervalMs = 30;
  }
  ~SaverRunTest() override {
    SetErrorDisplay(nullptr);
    WaitForWorkersToEnd();
  }
  // File mode, or with `folder` a new picture every second.
  void Make(bool folder = false) {
    run.reset();
    loop.reset();
    config.Source = folder ? kFileTypeFolder : kFileTypeFile;
    config.PictureFile = "first.bmp";
    config.PictureFolder = ".";
    config.ChangeSeconds = 1;
    loop.emplace(false, config, ProgramRandom(), [this] { return now; });
    loop->UsePictureLoader([this](const std::string&) { return Picture(); });
    run.emplace(*loop, [this](const Composer& c) {
      painted.push_back(c.TileImage().Width());
      if (pictureNoticeInPaint) Said(run->PictureReady(kSize));  // inside a step: waits for the frame's end
    });
  }
  // What the run told the timer: a delay, or kKeep for "as it is".
  static constexpr int64_t kKeep = -1;
  int64_t Said(std::optional<uint32_t> ms) { return timer.emplace_back(ms ? int64_t{*ms} : kKeep); }
  int64_t Said(uint32_t ms) { return timer.emplace_back(ms); }
  // A folder run whose frames run; the second frame's end begins a change.
  void StartFolderAndBeginAChange() {
    Make(/*folder=*/true);
    Said(run->Start(kSize));
    ListingIn();
    Deliver(Bitmap(200, 200));
    Said(run->PictureReady(kSize));
    run->Tick(kSize);
    now += 2 * kSecond;
    run->Tick(kSize);
    ListingIn();
  }
  // The folder's listing is in: the run draws from it and the decode starts.
  void ListingIn() {
    loop->WaitForPicture();
    Said(run->PictureReady(kSize));
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

  RunConfig config;
  testing::ErrorRecorder recorder;
  ScopedSeedSource seed{FixedSeed(20261208)};
  DateTime now = 46000.25;
  std::vector<std::promise<Bitmap>> pictures = std::vector<std::promise<Bitmap>>(1);
  std::optional<FrameLoop> loop;
  std::optional<SaverRun> run;
  std::vector<int64_t> timer;  // what each call told the timer
  std::vector<int> painted;    // the width of each tile painted
  bool pictureNoticeInPaint = false;
};

TEST_F(SaverRunTest, FirstPictureLateWaitsWithTheTimerStoppedThenFramesStart) {
  Make();
  run->Resize(kSize);  // before the start: nothing to resize
  Said(run->Start(kSize));
  Said(run->Start(kSize));  // a second activation changes nothing
  Said(run->Tick(kSize));   // the picture is still decoding
  EXPECT_TRUE(painted.empty());
  Deliver(Bitmap(200, 200));
  Said(run->PictureReady(kSize));
  Said(run->Tick(kSize));
  EXPECT_EQ(timer, (std::vector<int64_t>{FrameLoop::kFirstFrameMs, kKeep, 0, FrameLoop::kFirstFrameMs, 30}));
  EXPECT_EQ(painted.size(), 1u);
  run->Resize({64, 48});  // after the start: the frame takes the size at once
  EXPECT_EQ(loop->FrameComposer()->Image().Width(), 64);
  run->End();
  EXPECT_EQ(Said(run->Tick(kSize)), 0);
  EXPECT_EQ(painted.size(), 1u);
}

TEST_F(SaverRunTest, PictureReadyBetweenFramesKeepsTheIntervalAndWaitsWhileAFrameRuns) {
  StartFolderAndBeginAChange();
  Deliver(Bitmap(300, 300));
  EXPECT_EQ(Said(run->PictureReady(kSize)), kKeep);
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().Width(), 300);
  // A notice during a frame is left to the frame's end.
  now += 2 * kSecond;
  run->Tick(kSize);
  ListingIn();
  Deliver(Bitmap(400, 400));
  pictureNoticeInPaint = true;
  EXPECT_EQ(Said(run->Tick(kSize)), 30);
  EXPECT_EQ(timer.end()[-2], kKeep) << "the notice inside the frame";
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().Width(), 400);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SaverRunTest, AnErrorLeavesTheTimerStoppedAtTheSetUpAndAtAChange) {
  config.MethodType = 0;  // no such method: error 6 at the set-up
  Make();
  EXPECT_THROW(testing::AsFrontEnd([&] { run->Start(kSize); }), UnitFailed);
  EXPECT_EQ(Said(run->Tick(kSize)), 0) << "the frames ended with the error";
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrBadMethod, "")});

  run.reset();
  loop.reset();
  config.MethodType = 1;
  StartFolderAndBeginAChange();
  pictures.back().set_exception(std::make_exception_ptr(std::logic_error("broken decoder")));
  loop->WaitForPicture();
  EXPECT_THROW(run->PictureReady(kSize), std::logic_error);
  EXPECT_EQ(Said(run->Tick(kSize)), 0) << "the frames ended with the error";
}

}  // namespace
}  // namespace tessivane
