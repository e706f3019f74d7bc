#include "shell/MouseWarmUp.h"

#include <gtest/gtest.h>

namespace tessivane {
namespace {

using Action = MouseWarmUp::Action;

TEST(MouseWarmUp, MovementCountsFromTheFifthTickAndTheTimerStopsAfterIt) {
  MouseWarmUp warmUp;
  EXPECT_EQ(warmUp.MousePos, (Point{-1, -1}));
  for (int tick = 1; tick <= 5; ++tick) {
    EXPECT_FALSE(warmUp.Ready()) << tick;
    EXPECT_TRUE(warmUp.Tick());
  }
  EXPECT_TRUE(warmUp.Ready());
  EXPECT_FALSE(warmUp.Tick());  // the sixth tick stops the timer
  EXPECT_TRUE(warmUp.Ready());
}

TEST(MouseWarmUp, FirstMovementRecordsTheNextDifferentOneCloses) {
  MouseWarmUp warmUp;
  warmUp.MouseTicks = 5;
  EXPECT_EQ(warmUp.Moved(true, {300, 200}), Action::None);
  EXPECT_EQ(warmUp.MousePos, (Point{300, 200}));
  EXPECT_EQ(warmUp.Moved(true, {300, 200}), Action::None);  // same place: no real movement
  EXPECT_EQ(warmUp.Moved(true, {300, 201}), Action::Close);
  EXPECT_EQ(warmUp.Moved(true, {299, 200}), Action::Close);
}

TEST(MouseWarmUp, RefusedPasswordRestsTwoMoreTicks) {
  MouseWarmUp warmUp;
  warmUp.MouseTicks = 5;
  EXPECT_EQ(warmUp.Moved(false, {10, 10}), Action::RestartTimer);
  EXPECT_EQ(warmUp.MouseTicks, 3);
  EXPECT_EQ(warmUp.MousePos, (Point{-1, -1}));  // nothing recorded
  EXPECT_TRUE(warmUp.Tick());
  EXPECT_FALSE(warmUp.Ready());
  EXPECT_TRUE(warmUp.Tick());
  EXPECT_TRUE(warmUp.Ready());
  EXPECT_EQ(warmUp.Moved(true, {10, 10}), Action::None);
  EXPECT_EQ(warmUp.Moved(true, {11, 10}), Action::Close);
}

}  // namespace
}  // namespace tessivane
