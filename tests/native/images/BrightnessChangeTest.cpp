#include <gtest/gtest.h>

#include "images/BrightnessWave.h"

namespace tessivane {
namespace {

TEST(BrightnessChange, SwingsBetweenTheBoundsWithAPeriodOf120Frames) {
  BrightnessWave b(-0.3, 0.3, 0.01);
  for (int i = 0; i < 30; ++i) b.Next();
  EXPECT_NEAR(b.Value, 0.3, 1e-9);
  b.Next();
  EXPECT_NEAR(b.Value, 0.29, 1e-9);
  EXPECT_LT(b.Step, 0);
  for (int i = 31; i < 120; ++i) b.Next();
  EXPECT_NEAR(b.Value, 0, 1e-9);
  EXPECT_GT(b.Step, 0);

  BrightnessWave off(0, 0, 0);
  for (int i = 0; i < 100; ++i) off.Next();
  EXPECT_EQ(off.Value, 0);
}

TEST(BrightnessChange, ReflectsTheOvershootBackInside) {
  BrightnessWave b(-0.3, 0.3, 0.07);
  for (int i = 0; i < 5; ++i) b.Next();  // 0.28, then 0.35 reflects to 0.25
  EXPECT_NEAR(b.Value, 0.25, 1e-12);
  for (int i = 0; i < 10000; ++i) {
    b.Next();
    ASSERT_GE(b.Value, -0.3);
    ASSERT_LE(b.Value, 0.3);
  }
}

}  // namespace
}  // namespace tessivane
