// Waiting for the picture decoders' worker threads in tests.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "saver/BackgroundPictureLoad.h"

namespace tessivane {

// Waits up to a minute for every decoding worker to end, and expects none
// left: a worker that outlives its load, or never ends, fails the test.
inline void WaitForWorkersToEnd() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (BackgroundPictureLoad::RunningWorkers() > 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(BackgroundPictureLoad::RunningWorkers(), 0);
}

}  // namespace tessivane
