#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "codecs/PictureLoader.h"
#include "images/PictureEffects.h"
#include "saver/BackgroundPictureLoad.h"
#include "WorkerWait.h"

namespace tessivane {
namespace {

// A loader that waits until the test opens its gate.
class Gate {
public:
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Pass() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

Bitmap Checker(int size) {
  Bitmap b(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) b.SetPixelRgb(x, y, (x + y) % 2 ? 0xFF0000u : 0x0000FFu);
  return b;
}

TEST(BackgroundPictureLoad, HandsOverThePictureWithItsEffectsAndCallsBackOnce) {
  std::atomic<int> calls{0};
  Gate gate;
  BackgroundPictureLoad load(
      "name", true, true, [&] { ++calls; },
      [&](const std::string& path) {
        EXPECT_EQ(path, "name");
        gate.Pass();
        return Checker(8);
      });
  EXPECT_FALSE(load.Ready());
  gate.Open();
  load.Wait();
  EXPECT_TRUE(load.Ready());
  EXPECT_EQ(calls.load(), 1);
  Bitmap expected = Checker(8);
  BlurBitmap(expected);
  MonotoneBitmap(expected);
  EXPECT_EQ(load.Take(), expected);
}

TEST(BackgroundPictureLoad, PassesTheLoadersErrorOnUnchanged) {
  BackgroundPictureLoad bad("x", false, false, {}, [](const std::string&) -> Bitmap {
    throw PictureError(PictureFailure::kNotAPicture, "not a picture");
  });
  EXPECT_THROW(bad.Take(), PictureError);
  BackgroundPictureLoad hungry("x", false, false, {},
                               [](const std::string&) -> Bitmap { throw std::bad_alloc(); });
  EXPECT_THROW(hungry.Take(), std::bad_alloc);
  BackgroundPictureLoad missing("no-such-picture-file.png", false, false);
  EXPECT_THROW(missing.Take(), PictureError);
}

// Giving a load up returns at once, whatever the worker is doing; the
// worker then never calls back, and ends and frees its picture by itself.
TEST(BackgroundPictureLoad, GivenUpLoadReturnsAtOnceAndItsWorkerEndsAlone) {
  WaitForWorkersToEnd();
  std::atomic<int> calls{0};
  Gate gate;
  {
    BackgroundPictureLoad load(
        "name", true, false, [&] { ++calls; },
        [&](const std::string&) {
          gate.Pass();
          return Checker(300);
        });
    EXPECT_EQ(BackgroundPictureLoad::RunningWorkers(), 1);
  }
  EXPECT_EQ(BackgroundPictureLoad::RunningWorkers(), 1) << "the destructor did not wait";
  gate.Open();
  WaitForWorkersToEnd();
  EXPECT_EQ(calls.load(), 0);

  // Given up after it finished: the worker is joined.
  {
    BackgroundPictureLoad load(
        "name", false, false, [&] { ++calls; }, [](const std::string&) { return Checker(4); });
    load.Wait();
  }
  EXPECT_EQ(BackgroundPictureLoad::RunningWorkers(), 0);
  EXPECT_EQ(calls.load(), 1);
}

}  // namespace
}  // namespace tessivane
