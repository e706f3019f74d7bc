#include "shell/RunMode.h"

#include <gtest/gtest.h>

namespace tessivane {
namespace {

RunMode ModeOf(std::vector<std::string> args) { return DecideRunMode(args).mode; }

TEST(RunMode, FirstArgumentUpperCasedAndComparedWhole) {
  for (const char* s : {"/s", "/S", "-s", "-S"}) EXPECT_EQ(ModeOf({s}), RunMode::kSaver) << s;
  for (const char* p : {"/p", "/P", "-p", "-P", "/l", "/L", "-l", "-L"})
    EXPECT_EQ(ModeOf({p, "1234"}), RunMode::kPreview) << p;
  for (const char* a : {"/a", "/A", "-a", "-A"}) EXPECT_EQ(ModeOf({a}), RunMode::kChangePassword) << a;
  // No prefix matching: anything else opens the settings.
  for (const char* other :
       {"", "/c", "/C", "/c:1234", "/C:1234", "/s:1234", "/S1", "/ss", "s", "/p:1", "//s", " /s"})
    EXPECT_EQ(ModeOf({other}), RunMode::kSettings) << other;
  EXPECT_EQ(ModeOf({}), RunMode::kSettings);
}

TEST(RunMode, SecondArgumentIsTheParentWindowInEveryMode) {
  EXPECT_EQ(DecideRunMode({"/S", "1234"}).parentWnd, 1234);
  EXPECT_EQ(DecideRunMode({"/p", "1234"}).parentWnd, 1234);
  EXPECT_EQ(DecideRunMode({"/l", "1234"}).parentWnd, 1234);
  EXPECT_EQ(DecideRunMode({"/c", "77"}).parentWnd, 77);
  EXPECT_EQ(DecideRunMode({"/a", "65538"}).parentWnd, 65538);
  EXPECT_EQ(DecideRunMode({"/s"}).parentWnd, 0);
  EXPECT_EQ(DecideRunMode({"/c:1234"}).parentWnd, 0);  // the handle after the colon is not read
  EXPECT_EQ(DecideRunMode({"/p", "1234", "99"}).parentWnd, 1234);
}

TEST(RunMode, SettingsDialogBelongsToTheWindowAfterTheColonElseTheSecondArgument) {
  EXPECT_EQ(DecideRunMode({"/c:1234"}).settingsOwner, 1234);
  EXPECT_EQ(DecideRunMode({"-C:65538", "77"}).settingsOwner, 65538);
  EXPECT_EQ(DecideRunMode({"/c:x", "77"}).settingsOwner, 77);
  EXPECT_EQ(DecideRunMode({"/c", "77"}).settingsOwner, 77);
  EXPECT_EQ(DecideRunMode({"/c:"}).settingsOwner, 0);
  EXPECT_EQ(DecideRunMode({}).settingsOwner, 0);
  // Only the settings mode has an owner.
  EXPECT_EQ(DecideRunMode({"/s", "77"}).settingsOwner, 0);
}

TEST(RunMode, UnparsableWindowHandleGivesZero) {
  for (const char* bad : {"", "abc", "12a", "0x10", "$10", " 12", "12 ", "1.5", "-", "+", "99999999999",
                          "4294967296", "-2147483649"})
    EXPECT_EQ(ParseWindowHandle(bad), 0) << bad;
  EXPECT_EQ(ParseWindowHandle("0"), 0);
  EXPECT_EQ(ParseWindowHandle("+42"), 42);
  EXPECT_EQ(ParseWindowHandle("2147483647"), 2147483647);
  EXPECT_EQ(ParseWindowHandle("-2147483648"), INT32_MIN);
  // The unsigned spelling of a handle with the top bit set names the same handle.
  EXPECT_EQ(ParseWindowHandle("4294967295"), -1);
  EXPECT_EQ(ParseWindowHandle("-1"), -1);
}

}  // namespace
}  // namespace tessivane
