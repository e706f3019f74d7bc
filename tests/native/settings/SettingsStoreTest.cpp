// The order of writes and failing writes, on the memory store; the integer
// text rule.
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsTable.h"
#include "settings/MusicSettings.h"
#include "settings/MethodOptions.h"
#include "settings/MainSettings.h"
#include "support/ErrorRecorder.h"
#include "support/MethodNumbering.h"

namespace tessivane {
namespace {

using Write = MemorySettingsStore::Write;

std::vector<std::string> Names(const MemorySettingsStore& store) {
  std::vector<std::string> names;
  for (const Write& w : store.writes()) names.push_back(w.subkey + "/" + w.name + "=" + w.text);
  return names;
}

using testing::ErrorRecorder;

TEST(SettingsWrites, EachRecordWritesItsValuesInItsOwnOrder) {
  MemorySettingsStore store;
  { MainSettings reg(store); }
  { MethodOptions option(store); }
  { MusicSettings bgm(store); }
  const std::vector<std::string> expected = {
      "Settings/Size=8",
      "Settings/Move=3",
      "Settings/Weight=1",
      "Settings/BmpFileName=",
      "Settings/ImageChangeTime=60",
      "Settings/ImageFolderName=",
      "Settings/FileType=1",
      "Settings/UnitType=0",
      "Settings/BrightnessChange=0",
      "Settings/MonoTone=0",
      "Settings/ShadeOff=0",
      "Settings/Shuffle=0",
      "Settings/TransType=1",
      "Settings/DllFileName=",
      "Settings/MovePositionType=0",
      "Settings/FadeTime=0",
      "Option/NoneXY=0",
      "Option/Random=" + testing::PinnedDefaultRandom(),
      "Option/Rotate=3",
      "Option/XY=0",
      "BGM/File=",
      "BGM/Flag=0",
  };
  EXPECT_EQ(Names(store), expected);
  store.ClearWrites();
  MainSettings reg(store);
  reg.Save();
  EXPECT_EQ(store.writes().size(), 16u);
}

TEST(SettingsWrites, AFailedWriteStopsTheSaveAndKeepsWhatWasWritten) {
  MemorySettingsStore store;
  store.FailWrite("Settings", "FileType");
  MainSettings reg(store);
  reg.Size = 40;
  try {
    reg.Save();
    FAIL() << "saved";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "'FileType' の設定に失敗しました");
  }
  ASSERT_EQ(store.writes().size(), 6u);  // Size .. ImageFolderName
  EXPECT_EQ(store.Text("Settings", "Size"), "40");
  EXPECT_FALSE(store.Text("Settings", "UnitType"));

  MemorySettingsStore other;
  other.FailKeyCreation("Option");
  MethodOptions option(other);
  try {
    option.Save();
    FAIL() << "saved";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "キー Option の作成に失敗しました");
  }
}

TEST(SettingsWrites, AFailureWhileBeingFreedIsShownNotThrown) {
  ErrorRecorder recorder;
  SetErrorDisplay(&recorder);
  MemorySettingsStore store;
  store.FailWrite("BGM", "Flag");
  {
    MusicSettings bgm(store);
    bgm.File = "a.mid";
  }
  SetErrorDisplay(nullptr);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "'Flag' の設定に失敗しました.");
  EXPECT_EQ(store.Text("BGM", "File"), "a.mid");
}

TEST(SettingsWrites, WithoutTheProductKeyDefaultsLoadAndWritesFail) {
  MemorySettingsStore store;
  store.PutText("Settings", "Size", "30");
  store.FailProductKey();
  MainSettings reg(store);
  EXPECT_EQ(reg.Size, 8);
  try {
    reg.Save();
    FAIL() << "saved";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "キー Settings の作成に失敗しました");
  }
  store.FailProductKey(false);
  EXPECT_EQ(store.Text("Settings", "Size"), "30");
}

TEST(SettingsStores, RecordsUseTheInstalledStore) {
  MemorySettingsStore store;
  store.PutText("BGM", "File", "x.wav");
  SetSettingsStore(&store);
  {
    MusicSettings bgm;
    EXPECT_EQ(bgm.File, "x.wav");
  }
  SetSettingsStore(nullptr);
  EXPECT_NE(&CurrentSettingsStore(), &store);
}

TEST(SettingInt, OptionalSignAndDecimalDigitsWithin32Bits) {
  EXPECT_EQ(ParseSettingInt("0", 5), 0);
  EXPECT_EQ(ParseSettingInt("-1", 5), -1);
  EXPECT_EQ(ParseSettingInt("+7", 5), 7);
  EXPECT_EQ(ParseSettingInt("007", 5), 7);
  EXPECT_EQ(ParseSettingInt("2147483647", 5), 2147483647);
  EXPECT_EQ(ParseSettingInt("-2147483648", 5), INT32_MIN);
  for (const char* bad : {"", "-", "+", "2147483648", "-2147483649", "99999999999999999999999", " 8", "8 ",
                          "0x10", "$10", "1e3", "--1", "８"}) {
    EXPECT_EQ(ParseSettingInt(bad, 5), 5) << bad;
  }
}

}  // namespace
}  // namespace tessivane
