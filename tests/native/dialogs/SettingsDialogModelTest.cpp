// The settings dialog's decisions on an in-memory store: what the controls
// start with, the radio buttons' enable rules, the value rows, and the
// validation and transfer of OK.
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "codecs/TestPictures.h"
#include "dialogs/ControlIds.h"
#include "dialogs/SettingsDialogModel.h"
#include "pattern/MethodTable.h"
#include "settings/MemorySettingsStore.h"
#include "support/ErrorRecorder.h"
#include "support/TempFolder.h"

namespace tessivane::dialogs {
namespace {

using testing::ErrorRecorder;
using testing::TempFolder;

class SettingsModel : public ::testing::Test {
protected:
  void SetUp() override { SetErrorDisplay(&errors); }
  void TearDown() override { SetErrorDisplay(nullptr); }
  std::optional<std::string> Stored(const std::string& name) const { return store.Text("Settings", name); }
  // Runs OK on a fresh dialog whose controls `edit` changes.
  template <class Edit>
  SaveOutcome PressOk(Edit edit) {
    SettingsDialogModel model(store);
    SettingsControls controls = model.InitialControls();
    edit(controls);
    store.ClearWrites();
    SaveOutcome outcome = model.Save(controls);
    writesBeforeClose = store.writes().size();
    return outcome;
  }
  std::string PictureFile(int width, int height) {
    return folder.Write("picture.bmp", testing::Rgb24(testing::Pattern(width, height)).Write());
  }

  MemorySettingsStore store;
  ErrorRecorder errors;
  TempFolder folder{"tessivane-dialog-model"};
  size_t writesBeforeClose = 0;
};

TEST_F(SettingsModel, EmptyStoreOpensWithTheDefaultsAndTheSourceBoxesDisabled) {
  SettingsDialogModel model(store);
  const SettingsControls c = model.InitialControls();
  EXPECT_EQ(c.methodListPosition, 0);  // kaleidoscope
  EXPECT_EQ(c.conversion, kTransBasic);
  EXPECT_EQ(c.source, kFileTypeRandom);
  EXPECT_FALSE(c.shuffle || c.monoTone || c.blur || c.brightnessChange);
  EXPECT_EQ(c.size.text, "8");
  EXPECT_EQ(c.move.text, "3");
  EXPECT_EQ(c.weight.text, "1");
  EXPECT_EQ(c.motionListPosition, 0);
  EXPECT_EQ(c.intervalText, "60");

  const EnabledControls e = EnabledFor(c.source, c.conversion);
  EXPECT_FALSE(e.intervalEdit || e.imageFileEdit || e.imageFileBrowse || e.imageFolderEdit ||
               e.imageFolderBrowse);
  EXPECT_TRUE(e.methodList && e.detailsButton);
  EXPECT_FALSE(e.pluginEdit || e.pluginBrowse);
}

TEST_F(SettingsModel, AValueThatIsNotTextOpensAtItsDefaultCancelKeepsTheStoreAndOkRepairsIt) {
  store.PutDword("Settings", "Size", 20);
  store.PutText("Settings", "Move", "5");
  store.PutText("Settings", "Weight", "7");
  store.PutText("Settings", "MonoTone", "1");
  store.PutText("Settings", "UnitType", "4");  // the rectangle
  store.PutText("Settings", "ImageChangeTime", "30");
  const auto before = store.contents();
  {
    SettingsDialogModel model(store);  // closed without OK
    EXPECT_EQ(model.Record().UnreadableValues(), std::vector<std::string>{"Size"});
    const SettingsControls c = model.InitialControls();
    EXPECT_EQ(c.size.text, "8");
    EXPECT_EQ(c.move.text, "5");
    EXPECT_EQ(c.weight.text, "7");
    EXPECT_TRUE(c.monoTone);
    EXPECT_EQ(c.methodListPosition, 6);
    EXPECT_EQ(c.intervalText, "30");
  }
  EXPECT_EQ(store.contents(), before);

  EXPECT_TRUE(PressOk([](SettingsControls&) {}).Saved());
  EXPECT_EQ(Stored("Size"), "8");
  EXPECT_EQ(Stored("Move"), "5");
  EXPECT_EQ(Stored("Weight"), "7");
  EXPECT_EQ(Stored("MonoTone"), "1");
  EXPECT_EQ(Stored("UnitType"), "4");
  EXPECT_EQ(Stored("ImageChangeTime"), "30");
  EXPECT_TRUE(SettingsDialogModel(store).Record().UnreadableValues().empty());
}

TEST_F(SettingsModel, RadioButtonsEnableTheirOwnControlsAndFocusThem) {
  EnabledControls file = EnabledFor(kFileTypeFile, kTransBasic);
  EXPECT_TRUE(file.imageFileEdit && file.imageFileBrowse);
  EXPECT_FALSE(file.imageFolderEdit || file.imageFolderBrowse || file.intervalEdit);
  EnabledControls folder = EnabledFor(kFileTypeFolder, kTransPlugin);
  EXPECT_TRUE(folder.imageFolderEdit && folder.imageFolderBrowse && folder.intervalEdit);
  EXPECT_FALSE(folder.imageFileEdit || folder.imageFileBrowse);
  // The plug-in disables the method list and the details button.
  EXPECT_FALSE(folder.methodList || folder.detailsButton);
  EXPECT_TRUE(folder.pluginEdit && folder.pluginBrowse);

  EXPECT_EQ(FocusForSource(kFileTypeRandom), 0);
  EXPECT_EQ(FocusForSource(kFileTypeFile), kIdImageFileEdit);
  EXPECT_EQ(FocusForSource(kFileTypeFolder), kIdImageFolderEdit);
  EXPECT_EQ(FocusForConversion(kTransBasic), kIdMethodList);
  EXPECT_EQ(FocusForConversion(kTransPlugin), kIdPluginEdit);
}

TEST_F(SettingsModel, StoredValuesOutsideTheScrollRangesOpenAtTheBoundAndAreSavedSo) {
  store.PutText("Settings", "Size", "100");
  store.PutText("Settings", "Weight", "0");
  EXPECT_TRUE(PressOk([](SettingsControls& c) { EXPECT_EQ(c.size.text, "64"); }).Saved());
  EXPECT_EQ(Stored("Size"), "64");
  EXPECT_EQ(Stored("Weight"), "1");
}

TEST_F(SettingsModel, EditTextThatIsNotAnIntegerLeavesTheScrollBar) {
  ValueRow row{20, "abc"};
  TakeEditText(row, kSizeRange);
  EXPECT_EQ(row.position, 20);
  EXPECT_EQ(row.text, "abc");
  row.text = " 70";
  TakeEditText(row, kSizeRange);
  EXPECT_EQ(row.position, 64);
  EXPECT_EQ(row.text, "64");
  row.text = "-3";
  TakeEditText(row, kMoveRange);
  EXPECT_EQ(row.position, 1);

  // OK stores the scroll bar's value and shows it in the edit box.
  EXPECT_TRUE(PressOk([](SettingsControls& c) {
                c.size.position = 12;
                c.size.text = "abc";
                TakeEditText(c.size, kSizeRange);
              }).Saved());
  EXPECT_EQ(Stored("Size"), "12");
}

TEST_F(SettingsModel, OkRefreshesTheValueRowsFromTheirScrollBars) {
  SettingsDialogModel model(store);
  SettingsControls c = model.InitialControls();
  c.move.text = "zz";
  ASSERT_TRUE(model.Save(c).Saved());
  EXPECT_EQ(c.move.text, "3");
}

TEST_F(SettingsModel, IntegerParsingRefusesAnythingButAWholeDecimal32BitNumber) {
  int32_t v = 0;
  EXPECT_TRUE(ParseInteger("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_TRUE(ParseInteger("+7", v));
  EXPECT_EQ(v, 7);
  for (const char* bad : {"", " ", "-", "2147483648", "1 ", "1.5", "x", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInteger(bad, v)) << bad;
  }
}

TEST_F(SettingsModel, IntervalNegativeStoresSixtyZeroStaysAndTextIsRefused) {
  EXPECT_TRUE(PressOk([](SettingsControls& c) { c.intervalText = "-5"; }).Saved());
  EXPECT_EQ(Stored("ImageChangeTime"), "60");
  EXPECT_TRUE(PressOk([](SettingsControls& c) { c.intervalText = "0"; }).Saved());
  EXPECT_EQ(Stored("ImageChangeTime"), "0");

  const SaveOutcome refused = PressOk([](SettingsControls& c) {
    c.intervalText = "x";
    c.methodListPosition = 6;
  });
  EXPECT_EQ(refused.kind, SaveOutcome::Kind::kStandardError);
  EXPECT_EQ(refused.message, "'x' は整数ではありません");
  EXPECT_EQ(writesBeforeClose, 0u);
}

TEST_F(SettingsModel, MethodChoicesStoreTheirCodes) {
  const std::pair<int, const char*> cases[] = {
      {MethodListCount() - 1, "6"}, {4, "7"}, {6, "4"}, {0, "0"}, {-1, "0"}};  // the random choice is last
  for (const auto& [listPosition, code] : cases) {
    const int position = listPosition;  // clang 14 cannot capture a structured binding
    EXPECT_TRUE(PressOk([&](SettingsControls& c) { c.methodListPosition = position; }).Saved());
    EXPECT_EQ(Stored("UnitType"), code) << position;
  }
}

TEST_F(SettingsModel, EveryControlReachesTheStore) {
  EXPECT_TRUE(PressOk([&](SettingsControls& c) {
                c.shuffle = c.monoTone = c.blur = c.brightnessChange = true;
                c.source = kFileTypeFolder;
                c.imageFolder = folder.Path();
                c.imageFile = "unused.bmp";
                c.pluginFile = "kept.dll";
                c.motionListPosition = 2;
                c.move.position = 10;
                c.weight.position = 99;
              }).Saved());
  EXPECT_EQ(Stored("FileType"), "3");
  EXPECT_EQ(Stored("ImageFolderName"), folder.Path());
  // Paths of sources that are not chosen are kept for later.
  EXPECT_EQ(Stored("BmpFileName"), "unused.bmp");
  EXPECT_EQ(Stored("DllFileName"), "kept.dll");
  EXPECT_EQ(Stored("Move"), "10");
  EXPECT_EQ(Stored("Weight"), "99");
  SettingsDialogModel reopened(store);
  const SettingsControls c = reopened.InitialControls();
  EXPECT_TRUE(c.shuffle && c.monoTone && c.blur && c.brightnessChange);
  EXPECT_EQ(c.motionListPosition, 2);
  EXPECT_EQ(c.source, kFileTypeFolder);
}

TEST_F(SettingsModel, ImageFileMustExistAndBeSixTimesTheSizeOnEachSide) {
  const std::string small = PictureFile(48, 48);
  EXPECT_TRUE(PressOk([&](SettingsControls& c) {
                c.source = kFileTypeFile;
                c.imageFile = small;
              }).Saved());
  EXPECT_EQ(Stored("BmpFileName"), small);

  store.PutText("Settings", "BmpFileName", "");
  const std::string narrow = PictureFile(47, 100);
  SaveOutcome tooSmall = PressOk([&](SettingsControls& c) {
    c.source = kFileTypeFile;
    c.imageFile = narrow;
  });
  EXPECT_EQ(tooSmall.kind, SaveOutcome::Kind::kUnitError);
  EXPECT_EQ(tooSmall.unitError, kErrSourceTooSmall);
  EXPECT_EQ(writesBeforeClose, 0u);

  // At Size 64 the cut is 256 pixels: 384 x 384 is the least that passes.
  const std::string edge = PictureFile(384, 383);
  EXPECT_FALSE(PressOk([&](SettingsControls& c) {
                 c.source = kFileTypeFile;
                 c.imageFile = edge;
                 c.size.position = 64;
               }).Saved());
  const std::string enough = PictureFile(384, 384);
  EXPECT_TRUE(PressOk([&](SettingsControls& c) {
                c.source = kFileTypeFile;
                c.imageFile = enough;
                c.size.position = 64;
              }).Saved());

  SaveOutcome missing = PressOk([&](SettingsControls& c) {
    c.source = kFileTypeFile;
    c.imageFile = folder.File("none.bmp");
  });
  EXPECT_EQ(missing.kind, SaveOutcome::Kind::kMessage);
  EXPECT_EQ(missing.message, folder.File("none.bmp") + "\r\nファイルが見つかりません");
  EXPECT_EQ(missing.focusControl, kIdImageFileEdit);
  // A folder is not a file.
  EXPECT_FALSE(PressOk([&](SettingsControls& c) {
                 c.source = kFileTypeFile;
                 c.imageFile = folder.Path();
               }).Saved());

  const std::string notAPicture = folder.Write("text.bmp", {'h', 'i'});
  SaveOutcome unreadable = PressOk([&](SettingsControls& c) {
    c.source = kFileTypeFile;
    c.imageFile = notAPicture;
  });
  EXPECT_EQ(unreadable.kind, SaveOutcome::Kind::kStandardError);
  EXPECT_FALSE(unreadable.message.empty());
  EXPECT_EQ(writesBeforeClose, 0u);
  EXPECT_TRUE(errors.shown.empty());  // the window shows the outcome, not the model
}

TEST_F(SettingsModel, ImageFolderMustExist) {
  SaveOutcome missing = PressOk([&](SettingsControls& c) {
    c.source = kFileTypeFolder;
    c.imageFolder = folder.File("absent");
  });
  EXPECT_EQ(missing.kind, SaveOutcome::Kind::kMessage);
  EXPECT_EQ(missing.message, folder.File("absent") + "\r\nイメージファイルフォルダが見つかりません。");
  EXPECT_EQ(missing.focusControl, kIdImageFolderEdit);
  EXPECT_EQ(writesBeforeClose, 0u);
  // The folder test is made only for the folder source.
  EXPECT_TRUE(PressOk([&](SettingsControls& c) { c.imageFolder = folder.File("absent"); }).Saved());
}

TEST_F(SettingsModel, PluginWithAnEmptyPathFailsWithErrorSevenAndStoresNothing) {
  const SaveOutcome outcome = PressOk([](SettingsControls& c) {
    c.conversion = kTransPlugin;
    c.pluginFile = "";
    c.methodListPosition = 3;
  });
  EXPECT_EQ(outcome.kind, SaveOutcome::Kind::kAlreadyShown);
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0], FormatUnitError(kErrPluginLoad, DetailFile("")));
  EXPECT_EQ(writesBeforeClose, 0u);
  EXPECT_FALSE(EnabledFor(kFileTypeRandom, kTransPlugin).methodList);
}

TEST_F(SettingsModel, ClosingWithoutSavingRewritesTheLoadedValuesNormalised) {
  store.PutText("Settings", "Size", "100");
  store.PutText("Settings", "UnitType", "42");
  store.PutText("Settings", "FileType", "7");
  { SettingsDialogModel model(store); }  // cancel right after opening
  EXPECT_EQ(Stored("Size"), "100");      // only the setters check the range; loading keeps it
  EXPECT_EQ(Stored("FileType"), "1");
  EXPECT_TRUE(Stored("ImageChangeTime").has_value());
  EXPECT_TRUE(Stored("MovePositionType").has_value());
}

}  // namespace
}  // namespace tessivane::dialogs
