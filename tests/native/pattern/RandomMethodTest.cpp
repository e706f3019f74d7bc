#include "pattern/RandomMethod.h"

#include <gtest/gtest.h>

#include <set>

#include "base/Random.h"
#include "pattern/MethodTable.h"
#include "support/MethodNumbering.h"

namespace tessivane {
namespace {

TEST(RandomMethod, DrawsOnlyEnabledMethods) {
  using namespace testing;
  std::set<int> seen, byDefault;
  for (const PinnedMethod& m : kPinnedMethods)
    if (m.randomByDefault) byDefault.insert(m.type);
  for (uint32_t s = 0; s < 200; ++s) {
    ScopedSeedSource seed(FixedSeed(s));
    seen.insert(ChooseRandomMethodType(PinnedDefaultRandom(), ProgramRandom()));
    EXPECT_EQ(ChooseRandomMethodType(PinnedRandomText({11}), ProgramRandom()), 11);  // spiral only
  }
  EXPECT_EQ(seen, byDefault);
}

// With nothing enabled the draw still ends, with the last real method drawn.
TEST(RandomMethod, NothingEnabledStillEnds) {
  ScopedSeedSource seed(FixedSeed(5));
  int type = ChooseRandomMethodType("", ProgramRandom());
  EXPECT_NE(type, 8);
  EXPECT_GE(type, 1);
  EXPECT_LE(type, 11);
  EXPECT_EQ(ChooseRandomMethodType("0000000000", ProgramRandom()), type);  // same draws, same end
}

// The draws of the random choice's own code (6) are not counted: the run
// takes the method of the 10001st draw of a real one.
TEST(RandomMethod, NothingEnabledEndsAtTheTenThousandAndFirstRealDraw) {
  for (uint32_t s : {1u, 77u, 20261207u}) {
    int expected = -1;
    {
      ScopedSeedSource seed(FixedSeed(s));
      Randomize();
      for (int real = 0; real <= 10000;) {
        const int code = static_cast<int>(RandomInt(static_cast<uint32_t>(MethodCodeCount())));
        if (code != MethodTypeToCode(kMethodTypeRandom) && ++real == 10001) expected = CodeToMethodType(code);
      }
    }
    ScopedSeedSource seed(FixedSeed(s));
    EXPECT_EQ(ChooseRandomMethodType("0000000000", ProgramRandom()), expected) << s;
  }
}

}  // namespace
}  // namespace tessivane
