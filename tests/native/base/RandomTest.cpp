#include "base/Numeric.h"
#include "base/Random.h"

#include <gtest/gtest.h>

namespace tessivane {
namespace {

TEST(Random, FollowsTheLinearCongruentialSequence) {
  ScopedSeedSource fixed(FixedSeed(1));
  Randomize();
  EXPECT_EQ(RandSeed(), 1u);
  // seed := seed * 134775813 + 1 (mod 2^32)
  RandomInt(10);
  EXPECT_EQ(RandSeed(), 134775814u);
  RandomInt(10);
  EXPECT_EQ(RandSeed(), static_cast<uint32_t>(134775814ull * 134775813ull + 1));
}

TEST(Random, IntegerIsTheHighHalfOfSeedTimesN) {
  SetRandSeed(0);
  // After one step the seed is 1; 1 * n >> 32 is 0.
  EXPECT_EQ(RandomInt(100), 0u);
  SetRandSeed(0xFFFFFFFFu);
  // Next seed: 0xFFFFFFFF * 134775813 + 1 = -134775812 mod 2^32.
  uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(RandomInt(1000), static_cast<uint32_t>((uint64_t{next} * 1000) >> 32));
  EXPECT_EQ(RandomInt(0), 0u);
}

TEST(Random, RealIsSeedOverTwoToThe32) {
  SetRandSeed(0x7FFFFFFFu);
  uint32_t next = 0x7FFFFFFFu * 134775813u + 1u;
  EXPECT_DOUBLE_EQ(RandomReal(), next / 4294967296.0);
  for (int i = 0; i < 1000; ++i) {
    double r = RandomReal();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

TEST(Random, ScopedSourceRestoresThePreviousOne) {
  {
    ScopedSeedSource outer(FixedSeed(7));
    {
      ScopedSeedSource inner(FixedSeed(9));
      Randomize();
      EXPECT_EQ(RandSeed(), 9u);
    }
    Randomize();
    EXPECT_EQ(RandSeed(), 7u);
  }
}

TEST(Numeric, RoundTiesToEvenAndTruncTowardZero) {
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(1.5L), 2);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Round(26.24L), 26);
  EXPECT_EQ(Trunc(12.99L), 12);
  EXPECT_EQ(Trunc(-0.5L), 0);
  EXPECT_EQ(Div(-7, 2), -3);
  EXPECT_EQ(Mod(-7, 2), -1);
  // long double is the 80-bit extended type on the targets we build for.
  EXPECT_GE(std::numeric_limits<long double>::digits, 64);
}

}  // namespace
}  // namespace tessivane
