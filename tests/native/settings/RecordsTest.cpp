// The three settings records on every store of the test program.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "StoreHarness.h"
#include "support/MethodNumbering.h"
#include "base/Errors.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"
#include "settings/MusicSettings.h"

namespace tessivane::testing {
namespace {

class Records : public ::testing::TestWithParam<HarnessKind> {
protected:
  void SetUp() override { h = GetParam().make(); }
  SettingsStore& store() { return h->store(); }
  std::unique_ptr<StoreHarness> h;
};

std::string RecordsName(const ::testing::TestParamInfo<HarnessKind>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Stores, Records, ::testing::ValuesIn(HarnessKinds()), RecordsName);

TEST_P(Records, EmptyStoreLoadsDefaultsAndIsWrittenBackWhole) {
  {
    MainSettings reg(store());
    EXPECT_EQ(reg.Size, 8);
    EXPECT_EQ(reg.Move, 3);
    EXPECT_EQ(reg.Weight, 1);
    EXPECT_EQ(reg.FileType, kFileTypeRandom);
    EXPECT_EQ(reg.UnitType, 1);
    EXPECT_FALSE(reg.BrightnessChange || reg.MonoTone || reg.Blur || reg.Shuffle);
    EXPECT_EQ(reg.TransType, kTransBasic);
    EXPECT_EQ(reg.MovePositionType, 0);
    EXPECT_EQ(reg.ImageChangeTime, 60);
    EXPECT_EQ(reg.BmpFileName + reg.ImageFolderName + reg.DllFileName, "");
    // Loading creates the product key but not the subkey.
    auto snapshot = h->Snapshot();
    EXPECT_TRUE(snapshot.productKey);
    EXPECT_FALSE(snapshot.subkeys.count("Settings"));
  }
  const char* names[] = {
      "Size",      "Move",        "Weight",           "BmpFileName", "ImageChangeTime", "ImageFolderName",
      "FileType",  "UnitType",    "BrightnessChange", "MonoTone",    "ShadeOff",        "Shuffle",
      "TransType", "DllFileName", "MovePositionType", "FadeTime"};
  const char* texts[] = {"8", "3", "1", "", "60", "", "1", "0", "0", "0", "0", "0", "1", "", "0", "0"};
  for (int i = 0; i < 16; ++i) {
    auto v = h->Get("Settings", names[i]);
    ASSERT_TRUE(v) << names[i];
    EXPECT_EQ(v->type, kStoredText) << names[i];
    EXPECT_EQ(v->data, EncodeStoredText(texts[i])) << names[i];  // terminator included
  }
  EXPECT_EQ(h->Snapshot().subkeys.at("Settings").size(), 16u);

  { MethodOptions option(store()); }
  EXPECT_EQ(h->Text("Option", "NoneXY"), "0");
  EXPECT_EQ(h->Text("Option", "Random"), PinnedDefaultRandom());
  EXPECT_EQ(h->Text("Option", "Rotate"), "3");
  EXPECT_EQ(h->Text("Option", "XY"), "0");

  { MusicSettings bgm(store()); }
  EXPECT_EQ(h->Text("BGM", "File"), "");
  EXPECT_EQ(h->Text("BGM", "Flag"), "0");
}

// One stored text, what loading makes of it, and what is written back.
struct LoadCase {
  const char* name;
  const char* stored;
  std::function<int(const MainSettings&)> field;
  int loaded;
  const char* written;
};

TEST_P(Records, MainRecordLoadAndWriteRules) {
  auto fileType = [](const MainSettings& r) { return int(r.FileType); };
  auto unitType = [](const MainSettings& r) { return int(r.UnitType); };
  auto transType = [](const MainSettings& r) { return int(r.TransType); };
  auto size = [](const MainSettings& r) { return r.Size; };
  auto monoTone = [](const MainSettings& r) { return int(r.MonoTone); };
  const LoadCase cases[] = {
      {"FileType", "7", fileType, 1, "1"},
      {"FileType", "0", fileType, 1, "1"},
      {"FileType", "3", fileType, 3, "3"},
      {"UnitType", "6", unitType, 8, "6"},
      {"UnitType", "12", unitType, 0, "-1"},
      {"UnitType", "9", unitType, 11, "9"},
      {"TransType", "2", transType, kTransPlugin, "2"},
      {"TransType", "0", transType, kTransBasic, "1"},
      {"TransType", "3", transType, kTransBasic, "1"},
      {"MovePositionType", "5", [](const MainSettings& r) { return int(r.MovePositionType); }, 0, "0"},
      {"MovePositionType", "2", [](const MainSettings& r) { return int(r.MovePositionType); }, 2, "2"},
      {"ImageChangeTime", "-5", [](const MainSettings& r) { return r.ImageChangeTime; }, 60, "60"},
      {"ImageChangeTime", "0", [](const MainSettings& r) { return r.ImageChangeTime; }, 0, "0"},
      {"FadeTime", "-5", [](const MainSettings& r) { return r.FadeTime; }, 0, "0"},
      {"FadeTime", "999", [](const MainSettings& r) { return r.FadeTime; }, 50, "50"},
      {"FadeTime", "12", [](const MainSettings& r) { return r.FadeTime; }, 12, "12"},
      {"Size", "100", size, 100, "100"},
      {"Size", "abc", size, 8, "8"},
      {"Size", "", size, 8, "8"},
      {"Size", "99999999999", size, 8, "8"},
      {"Move", "-2", [](const MainSettings& r) { return r.Move; }, -2, "-2"},
      {"MonoTone", "2", monoTone, 1, "1"},
      {"MonoTone", "-1", monoTone, 1, "1"},
      {"MonoTone", "yes", monoTone, 0, "0"},
      {"MonoTone", "", monoTone, 0, "0"},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = \"" + c.stored + "\"");
    auto store = GetParam().make();
    store->PutText("Settings", c.name, c.stored);
    {
      MainSettings reg(store->store());
      EXPECT_EQ(c.field(reg), c.loaded);
    }
    EXPECT_EQ(store->Text("Settings", c.name), c.written);
  }
}

TEST_P(Records, SettersAbortSilentlyOutsideTheirRange) {
  h->PutText("Settings", "Size", "20");
  MainSettings reg(store());
  EXPECT_THROW(reg.SetSize(100), SilentAbort);
  EXPECT_THROW(reg.SetSize(7), SilentAbort);
  EXPECT_EQ(reg.Size, 20);
  reg.SetSize(8);
  EXPECT_EQ(reg.Size, 8);
  reg.SetSize(64);
  EXPECT_EQ(reg.Size, 64);
  EXPECT_THROW(reg.SetMove(0), SilentAbort);
  EXPECT_THROW(reg.SetMove(11), SilentAbort);
  reg.SetMove(10);
  EXPECT_EQ(reg.Move, 10);
  reg.SetWeight(99);
  EXPECT_THROW(reg.SetWeight(100), SilentAbort);
  EXPECT_THROW(reg.SetWeight(0), SilentAbort);
  EXPECT_EQ(reg.Weight, 99);
  reg.SetImageChangeTime(-1);
  EXPECT_EQ(reg.ImageChangeTime, 60);
  reg.SetImageChangeTime(0);
  EXPECT_EQ(reg.ImageChangeTime, 0);
}

// Stored data that is not text, as an edited registry or another program
// may leave it where the records keep a text.
struct NonText {
  const char* what;
  uint32_t type;
  std::vector<unsigned char> data;
};
const NonText kNonText[] = {
    {"a DWORD", kStoredDword, {20, 0, 0, 0}},
    {"a DWORD of two bytes", kStoredDword, {20, 0}},
    {"binary data spelling a number", kStoredBinary, {'2', 0, '0', 0, 0, 0}},
    {"a multi-string", 7, {'2', 0, '0', 0, 0, 0, 0, 0}},
    {"a 64-bit number", 11, {20, 0, 0, 0, 0, 0, 0, 0}},
    {"a typeless empty value", kStoredNone, {}},
};

// The sixteen main values stored as text, none of them at its default.
const std::map<std::string, std::string> kStoredMain = {
    {"Size", "20"},
    {"Move", "5"},
    {"Weight", "7"},
    {"BmpFileName", "C:\\画像.bmp"},
    {"ImageChangeTime", "30"},
    {"ImageFolderName", "D:\\pics"},
    {"FileType", "3"},
    {"UnitType", "4"},
    {"BrightnessChange", "1"},
    {"MonoTone", "1"},
    {"ShadeOff", "1"},
    {"Shuffle", "1"},
    {"TransType", "2"},
    {"DllFileName", "E:\\p.dll"},
    {"MovePositionType", "2"},
    {"FadeTime", "15"},
};

// What a record of type R writes for an empty store.
template <class R>
std::map<std::string, std::string> WrittenDefaults(const char* subkey) {
  MemorySettingsStore empty;
  { R record(empty); }
  std::map<std::string, std::string> texts;
  for (const auto& [name, value] : empty.contents().subkeys.at(subkey))
    texts[name] = *empty.Text(subkey, name);
  return texts;
}

TEST_P(Records, AValueThatIsNotTextTakesItsDefaultAndEveryOtherValueIsKept) {
  const auto defaults = WrittenDefaults<MainSettings>("Settings");
  // Every kind of non-text data once, and a DWORD in place of every value.
  std::vector<std::pair<std::string, const NonText*>> cases;
  const char* targets[] = {"Size", "BmpFileName", "MonoTone", "FileType", "UnitType", "MovePositionType"};
  for (size_t i = 0; i < std::size(kNonText); ++i) cases.push_back({targets[i], &kNonText[i]});
  for (const auto& [name, text] : kStoredMain) cases.push_back({name, &kNonText[0]});

  for (const auto& [bad, nonText] : cases) {
    SCOPED_TRACE(bad + " holding " + nonText->what);
    auto store = GetParam().make();
    for (const auto& [name, text] : kStoredMain) store->PutText("Settings", name, text);
    store->PutRaw("Settings", bad, nonText->type, nonText->data);
    const auto before = store->Snapshot();
    {
      MainSettings reg(store->store());
      EXPECT_EQ(reg.UnreadableValues(), std::vector<std::string>{bad});
    }
    EXPECT_EQ(store->Snapshot(), before) << "a record that could not read a value writes nothing when freed";

    MainSettings reg(store->store());
    reg.Save();
    EXPECT_TRUE(reg.UnreadableValues().empty());
    for (const auto& [name, text] : kStoredMain) {
      auto value = store->Get("Settings", name);
      ASSERT_TRUE(value) << name;
      EXPECT_EQ(value->type, kStoredText) << name;
      EXPECT_EQ(store->Text("Settings", name), name == bad ? defaults.at(name) : text) << name;
    }
    EXPECT_TRUE(MainSettings(store->store()).UnreadableValues().empty()) << "saving repaired the store";
  }
}

TEST_P(Records, EveryUnreadableValueIsNamedInLoadOrderInEachRecord) {
  h->PutDword("Settings", "MovePositionType", 1);
  h->PutText("Settings", "Size", "20");
  h->PutRaw("Settings", "Weight", kStoredBinary, {1});
  {
    MainSettings reg(store());
    EXPECT_EQ(reg.UnreadableValues(), (std::vector<std::string>{"Weight", "MovePositionType"}));
    EXPECT_EQ(reg.Size, 20);
    EXPECT_EQ(reg.Weight, 1);
  }

  h->PutText("Option", "NoneXY", "-4");
  h->PutText("Option", "XY", "3");
  h->PutText("Option", "Rotate", "9");
  h->PutDword("Option", "Random", 0x31313131);
  auto before = h->Snapshot();
  {
    MethodOptions option(store());
    EXPECT_EQ(option.UnreadableValues(), std::vector<std::string>{"Random"});
    EXPECT_EQ(std::make_tuple(option.NoneXY, option.XY, option.Rotate), std::make_tuple(-4, 3, 9));
    EXPECT_EQ(option.Random, PinnedDefaultRandom());
  }
  EXPECT_EQ(h->Snapshot(), before);
  {
    MethodOptions option(store());
    option.Save();
  }
  EXPECT_EQ(h->Text("Option", "Random"), PinnedDefaultRandom());
  EXPECT_EQ(h->Text("Option", "NoneXY"), "-4");

  h->PutText("BGM", "File", "C:\\bgm.mid");
  h->PutRaw("BGM", "Flag", kStoredBinary, {1, 0});
  before = h->Snapshot();
  {
    MusicSettings bgm(store());
    EXPECT_EQ(bgm.UnreadableValues(), std::vector<std::string>{"Flag"});
    EXPECT_EQ(bgm.File, "C:\\bgm.mid");
    EXPECT_FALSE(bgm.Flag);
  }
  EXPECT_EQ(h->Snapshot(), before);
  {
    MusicSettings bgm(store());
    bgm.Save();
  }
  EXPECT_EQ(h->Text("BGM", "Flag"), "0");
  EXPECT_EQ(h->Text("BGM", "File"), "C:\\bgm.mid");
}

TEST_P(Records, ExpandableTextIsReadAsPlainText) {
  h->PutText("Settings", "Weight", "7", kStoredExpandText);
  h->PutText("Settings", "BmpFileName", "%USERPROFILE%\\a.bmp", kStoredExpandText);
  MainSettings reg(store());
  EXPECT_EQ(reg.Weight, 7);
  EXPECT_EQ(reg.BmpFileName, "%USERPROFILE%\\a.bmp");
}

TEST_P(Records, EveryFieldRoundTripsIncludingAnyUnicodePath) {
  const std::string path = "C:\\画像\\Ünïcödé 🎨\\kaléidoscope.bmp";
  {
    MainSettings reg(store());
    reg.FileType = kFileTypeFolder;
    reg.BmpFileName = path;
    reg.ImageFolderName = "D:\\フォルダ";
    reg.Size = 64;
    reg.Move = 10;
    reg.Weight = 99;
    reg.UnitType = 11;
    reg.BrightnessChange = reg.MonoTone = reg.Blur = reg.Shuffle = true;
    reg.TransType = kTransPlugin;
    reg.DllFileName = "E:\\plug-in ☃.dll";
    reg.MovePositionType = 2;
    reg.ImageChangeTime = 0;
  }
  MainSettings reg(store());
  EXPECT_EQ(reg.FileType, kFileTypeFolder);
  EXPECT_EQ(reg.BmpFileName, path);
  EXPECT_EQ(reg.ImageFolderName, "D:\\フォルダ");
  EXPECT_EQ(std::make_tuple(reg.Size, reg.Move, reg.Weight, int(reg.UnitType)),
            std::make_tuple(64, 10, 99, 11));
  EXPECT_TRUE(reg.BrightnessChange && reg.MonoTone && reg.Blur && reg.Shuffle);
  EXPECT_EQ(reg.TransType, kTransPlugin);
  EXPECT_EQ(reg.DllFileName, "E:\\plug-in ☃.dll");
  EXPECT_EQ(reg.MovePositionType, 2);
  EXPECT_EQ(reg.ImageChangeTime, 0);

  {
    MusicSettings bgm(store());
    bgm.File = "音楽/🎵.mid";
    bgm.Flag = true;
  }
  MusicSettings bgm(store());
  EXPECT_EQ(bgm.File, "音楽/🎵.mid");
  EXPECT_TRUE(bgm.Flag);
}

TEST_P(Records, ARecordFreedLastKeepsWhatAnotherStoredMeanwhile) {
  h->PutText("Settings", "FileType", "3");  // the second writes it back as it was
  {
    MainSettings first(store());
    {
      MainSettings second(store());
      second.Size = 30;
    }
    first.FileType = kFileTypeFile;  // still holds Size 8 from its own load
  }
  MainSettings reg(store());
  EXPECT_EQ(reg.Size, 30);
  EXPECT_EQ(reg.FileType, kFileTypeFile);
}

// Values stored while the records are held (another process's save) survive
// their write-back; those nobody touched are still filled in or normalised.
TEST_P(Records, ValuesStoredWhileTheRecordsAreHeldSurviveTheirWriteBack) {
  const struct {
    const char *subkey, *name, *meanwhile, *other, *otherBefore;
    std::string otherAfter;
  } cases[] = {{"Settings", "FadeTime", "44", "FileType", "7", "1"},
               {"Option", "XY", "-2", "Random", "1", PinnedRandomText({1})},
               {"BGM", "File", "音楽.mid", "Flag", "5", "1"}};
  for (const auto& c : cases) h->PutText(c.subkey, c.other, c.otherBefore);
  {
    MainSettings main(store());
    MethodOptions options(store());
    MusicSettings music(store());
    for (const auto& c : cases) h->PutText(c.subkey, c.name, c.meanwhile);
  }
  for (const auto& c : cases) {
    EXPECT_EQ(h->Text(c.subkey, c.name), c.meanwhile);
    EXPECT_EQ(h->Text(c.subkey, c.other), c.otherAfter);
  }
  EXPECT_EQ(h->Text("Settings", "Size"), "8");
}

TEST_P(Records, RandomIsPaddedToTenAndNeverPicksItself) {
  const std::string allCodes(static_cast<size_t>(PinnedCodeCount()), '1');
  std::string allButRandom = allCodes;
  allButRandom[static_cast<size_t>(PinnedOfType(kPinnedRandomType).code)] = '0';
  const std::pair<std::string, std::string> cases[] = {
      {"1", PinnedRandomText({1})},
      {"", PinnedRandomText({})},
      {allCodes, allButRandom},
      {"111111111111", "111111011111"},
      {PinnedRandomText({kPinnedRandomType}), PinnedRandomText({})},
  };
  for (auto [stored, loaded] : cases) {
    SCOPED_TRACE(stored);
    h->PutText("Option", "Random", stored);
    {
      MethodOptions option(store());
      EXPECT_EQ(option.Random, loaded);
    }
    EXPECT_EQ(h->Text("Option", "Random"), loaded);
  }
}

TEST_P(Records, OptionValuesAndRotate) {
  h->PutText("Option", "Rotate", "50");
  h->PutText("Option", "NoneXY", "-5");
  h->PutText("Option", "XY", "x");
  {
    MethodOptions option(store());
    EXPECT_EQ(option.Rotate, 50);  // only SetRotate bounds it
    EXPECT_EQ(option.NoneXY, -5);
    EXPECT_EQ(option.XY, 0);
  }
  EXPECT_EQ(h->Text("Option", "Rotate"), "50");
  EXPECT_EQ(h->Text("Option", "XY"), "0");
  MethodOptions option(store());
  for (auto [value, assigned] : {std::pair{2, 2}, {20, 20}, {7, 7}, {1, 2}, {21, 2}, {-3, 2}}) {
    option.SetRotate(value);
    EXPECT_EQ(option.Rotate, assigned) << value;
  }
}

TEST_P(Records, MusicFlagIsTrueForAnyNonZeroNumber) {
  h->PutText("BGM", "Flag", "5");
  h->PutText("BGM", "File", "C:\\bgm.mid");
  {
    MusicSettings bgm(store());
    EXPECT_TRUE(bgm.Flag);
    EXPECT_EQ(bgm.File, "C:\\bgm.mid");
  }
  EXPECT_EQ(h->Text("BGM", "Flag"), "1");
}

// Values as an edited registry may hold them.
TEST_P(Records, HostileTextValuesAreReadSafely) {
  // No terminating zero.
  h->PutRaw("Settings", "Size", kStoredText, {'1', 0, '2', 0});
  // An odd byte count: the half character at the end is dropped.
  h->PutRaw("Settings", "Move", kStoredText, {'4', 0, '5'});
  // Text after an embedded zero is not part of the value.
  h->PutRaw("Settings", "Weight", kStoredText, {'7', 0, 0, 0, '9', 0, 0, 0});
  // Empty data and a single byte.
  h->PutRaw("Settings", "BmpFileName", kStoredText, {});
  h->PutRaw("Settings", "ImageChangeTime", kStoredText, {'5'});
  // A lone surrogate becomes a replacement character.
  h->PutRaw("Settings", "DllFileName", kStoredText, {'a', 0, 0x00, 0xD8, 'b', 0});
  // Many megabytes: not read, the default is used and written back.
  std::vector<unsigned char> huge(8 << 20, '1');
  h->PutRaw("Settings", "ImageFolderName", kStoredText, huge);
  h->PutRaw("Settings", "UnitType", kStoredText, std::vector<unsigned char>(kMaxStoredTextBytes + 2, '3'));
  {
    MainSettings reg(store());
    EXPECT_EQ(reg.Size, 12);
    EXPECT_EQ(reg.Move, 4);
    EXPECT_EQ(reg.Weight, 7);
    EXPECT_EQ(reg.BmpFileName, "");
    EXPECT_EQ(reg.ImageChangeTime, 60);
    EXPECT_EQ(reg.DllFileName,
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(reg.ImageFolderName, "");
    EXPECT_EQ(reg.UnitType, 1);
  }
  EXPECT_EQ(h->Text("Settings", "ImageFolderName"), "");
  EXPECT_EQ(h->Text("Settings", "UnitType"), "0");
  EXPECT_EQ(h->Text("Settings", "Size"), "12");
}

TEST_P(Records, TheLongestPathIsStillRead) {
  std::string path = "C:\\" + std::string(32763, 'p');  // 32766 units + terminator fit the limit
  h->PutText("Settings", "BmpFileName", path);
  MainSettings reg(store());
  EXPECT_EQ(reg.BmpFileName, path);
}

}  // namespace
}  // namespace tessivane::testing
