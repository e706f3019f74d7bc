// The method options dialog's decisions on an in-memory store: activation
// values, the marks of the random-choice list and the two rejections.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "dialogs/ControlIds.h"
#include "dialogs/OptionsDialogModel.h"
#include "pattern/MethodTable.h"
#include "pattern/RandomMethod.h"
#include "settings/MemorySettingsStore.h"
#include "base/Random.h"
#include "support/MethodNumbering.h"

namespace tessivane::dialogs {
namespace {

using namespace tessivane::testing;

RandomMarks Only(int position) {
  RandomMarks marks(static_cast<size_t>(RandomListCount()));
  marks[static_cast<size_t>(position)] = true;
  return marks;
}

class OptionsModel : public ::testing::Test {
protected:
  std::optional<std::string> Stored(const std::string& name) const { return store.Text("Option", name); }
  MemorySettingsStore store;
};

TEST_F(OptionsModel, TheListIsTheMethodListWithoutTheRandomChoice) {
  ASSERT_EQ(RandomListCount(), MethodListCount() - 1);
  EXPECT_EQ(RandomListLabel(0), "万華鏡風");
  EXPECT_EQ(RandomListLabel(8), "無変換");
}

TEST_F(OptionsModel, EmptyStoreShowsThreeTheMiddleAndTheDefaultMarks) {
  OptionsDialogModel model(store);
  const OptionsControls c = model.ActivationControls();
  EXPECT_EQ(c.distortValueText, "3");
  EXPECT_EQ(c.rectangleAspect, 0);
  EXPECT_EQ(c.noConversionAspect, 0);
  // Marked: every method but the distorted square and the spiral.
  EXPECT_EQ(c.marks, PinnedDefaultMarks());
}

TEST_F(OptionsModel, ListPositionsReadTheCharactersOfTheirStoredCodes) {
  ASSERT_EQ(RandomListCount(), PinnedListCount() - 1) << "one character a listed method";
  for (const PinnedMethod& m : kPinnedMethods) {
    if (m.listPosition < 0 || m.type == kPinnedRandomType) continue;
    const int position = PinnedPosition(m);
    const std::string random = RandomFromMarks(Only(position));
    EXPECT_EQ(random, PinnedRandomText({m.type})) << position;
    EXPECT_EQ(MarksFromRandom(random), Only(position)) << position;
  }
  // The random choice's own character, short texts and characters past the
  // last code mark nothing.
  const RandomMarks none(static_cast<size_t>(RandomListCount()));
  EXPECT_EQ(MarksFromRandom(PinnedRandomText({kPinnedRandomType})), none);
  EXPECT_EQ(MarksFromRandom("1"), Only(0));
  EXPECT_EQ(MarksFromRandom(PinnedRandomText({}) + "11"), none);
}

TEST_F(OptionsModel, DistortValueOutsideTwoToTwentyIsRejectedOnItsPage) {
  for (const char* bad : {"1", "21", "abc", ""}) {
    OptionsDialogModel model(store);
    OptionsControls c = model.ActivationControls();
    c.distortValueText = bad;
    c.rectangleAspect = 4;
    store.ClearWrites();
    const OptionsOutcome outcome = model.Save(c);
    EXPECT_FALSE(outcome.saved) << bad;
    EXPECT_EQ(outcome.page, kPageDistortedSquare);
    EXPECT_EQ(outcome.message, "歪四角の変換値は2～20の整数を指定して下さい。");
    EXPECT_TRUE(store.writes().empty());
    EXPECT_EQ(model.Record().XY, 0);
  }
}

TEST_F(OptionsModel, NoMarksAreRejectedOnTheRandomPageAndNothingIsKept) {
  {
    OptionsDialogModel model(store);
    OptionsControls c = model.ActivationControls();
    c.marks = {};
    c.distortValueText = "20";
    store.ClearWrites();
    const OptionsOutcome outcome = model.Save(c);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.page, kPageRandom);
    EXPECT_EQ(outcome.message, "ランダムに選ぶの変換方法は\r\n一つ以上指定する必要があります。");
    EXPECT_TRUE(store.writes().empty());
  }  // closing writes the record back as it was loaded
  EXPECT_EQ(Stored("Rotate"), "3");
}

TEST_F(OptionsModel, OnlySpiralOrOnlyRectangleStoreOneCharacter) {
  OptionsDialogModel model(store);
  OptionsControls c = model.ActivationControls();
  c.marks = Only(PinnedPositionOfType(11));  // 渦巻き
  ASSERT_TRUE(model.Save(c).saved);
  EXPECT_EQ(Stored("Random"), PinnedRandomText({11}));

  c.marks = Only(PinnedPositionOfType(5));  // 長方形
  c.distortValueText = "20";
  c.rectangleAspect = -5;
  ASSERT_TRUE(model.Save(c).saved);
  EXPECT_EQ(Stored("Random"), PinnedRandomText({5}));
  EXPECT_EQ(Stored("Rotate"), "20");
  EXPECT_EQ(Stored("XY"), "-5");
  OptionsDialogModel reopened(store);
  EXPECT_EQ(reopened.ActivationControls().marks, Only(PinnedPositionOfType(5)));
}

TEST_F(OptionsModel, AspectStepsOutsideTheScrollRangeOpenAtTheBound) {
  store.PutText("Option", "NoneXY", "9");
  store.PutText("Option", "XY", "-8");
  OptionsDialogModel model(store);
  const OptionsControls c = model.ActivationControls();
  EXPECT_EQ(c.noConversionAspect, 5);
  EXPECT_EQ(c.rectangleAspect, -5);
  ASSERT_TRUE(model.Save(c).saved);
  EXPECT_EQ(Stored("NoneXY"), "5");
  EXPECT_EQ(Stored("XY"), "-5");
}

// Adding a method is one row: with one more row (the next type, stored code
// and list position, the random choice staying last) every list, text and
// draw that counts the methods grows with it.
TEST(MethodTableRow, OneMoreRowReachesTheListsTheRandomTextAndTheDraw) {
  std::vector<MethodRow> rows(MethodRows().begin(), MethodRows().end());
  int type = 0;
  for (const MethodRow& row : rows) type = std::max(type, row.Type + 1);
  const int code = MethodCodeCount();
  const int position = RandomListCount();
  const std::string defaults = MethodOptions::DefaultRandom();
  rows.push_back({type, code, position, TextId::kMethodSpiral, "extra",
                  [](const ComposerParams& p) { return CreateMethodByType(11, p); }, false,
                  AspectSetting::None, true, true});
  ScopedMethodRows extended(rows);

  EXPECT_EQ(MethodListLabels().size(), static_cast<size_t>(position + 2));
  ASSERT_EQ(RandomListCount(), position + 1);
  EXPECT_EQ(ListPositionToMethodType(position), type);
  EXPECT_EQ(MethodTypeToListPosition(kMethodTypeRandom), position + 1);
  EXPECT_NE(CreateMethodByType(type, ComposerParams{}), nullptr);
  EXPECT_EQ(MethodOptions::DefaultRandom(), defaults + "1");
  EXPECT_EQ(MethodOptions::NormalizeRandom("1"), "1" + std::string(static_cast<size_t>(code), '0'));
  const std::string onlyNew = std::string(static_cast<size_t>(code), '0') + "1";
  RandomMarks only(static_cast<size_t>(position + 1));
  only[static_cast<size_t>(position)] = true;
  EXPECT_EQ(RandomFromMarks(only), onlyNew);
  EXPECT_EQ(MarksFromRandom(onlyNew), only);
  ScopedSeedSource seed(FixedSeed(3));
  EXPECT_EQ(ChooseRandomMethodType(onlyNew, ProgramRandom()), type) << "the draw reaches the new code";
}

}  // namespace
}  // namespace tessivane::dialogs
