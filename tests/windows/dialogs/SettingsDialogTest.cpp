// The settings dialog of the real Tessivane.scr (/c), driven through its
// controls from this process and judged by its controls, its message
// boxes and what it leaves in the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "DialogSession.h"
#include "TessivaneVersion.h"

#include <commctrl.h>

#include "base/Errors.h"
#include "base/Utf.h"
#include "base/Texts.h"
#include "pattern/PluginLibrary.h"
#include "pattern/PluginCalls.h"
#include "pattern/MethodTable.h"
#include "settings/MemorySettingsStore.h"
#include "settings/MainSettings.h"
#include "support/MethodNumbering.h"

namespace tessivane::test {
namespace {

using namespace tessivane::dialogs;

std::wstring W(const char* utf8) { return Widen(utf8); }

std::wstring PluginPath(const char* hostPath) { return HostToWindowsPath(hostPath); }

// The main settings an empty store loads, as the record writes them.
std::map<std::string, std::wstring> DefaultSettings() {
  MemorySettingsStore store;
  { MainSettings record(store); }
  std::map<std::string, std::wstring> values;
  for (const auto& [name, value] : store.contents().subkeys.at("Settings"))
    values[name] = Widen(*store.Text("Settings", name));
  return values;
}

// Everything a user sees of the settings dialog's input controls.
std::map<int, std::wstring> ControlStates(const DialogSession& session) {
  std::map<int, std::wstring> states;
  for (int id : {kIdPluginEdit, kIdImageFileEdit, kIdImageFolderEdit, kIdIntervalEdit, kIdSizeEdit,
                 kIdMoveEdit, kIdWeightEdit})
    states[id] = Text(session.Item(id)) + (Enabled(session.Item(id)) ? L"" : L" (disabled)");
  for (int id : {kIdBasicRadio, kIdPluginRadio, kIdShuffleCheck, kIdMonoToneCheck, kIdBlurCheck,
                 kIdBrightnessCheck, kIdRandomImageRadio, kIdImageFileRadio, kIdImageFolderRadio})
    states[id] = Checked(session.Item(id)) ? L"checked" : L"clear";
  for (int id : {kIdMethodList, kIdMotionList})
    states[id] = std::to_wstring(ComboSelection(session.Item(id)));
  for (int id : {kIdSizeScroll, kIdMoveScroll, kIdWeightScroll})
    states[id] = std::to_wstring(ScrollPosition(session.Item(id)));
  return states;
}

class SettingsDialog : public DialogTest {
protected:
  // Presses cancel and waits for the settings run to end.
  void Cancel() {
    ClickAsync(Item(kIdCancelButton));
    EXPECT_TRUE(Session().Ended());
  }
  // Presses OK and waits for the run to end (no box may come).
  void OkAndEnd() {
    ClickAsync(Item(kIdOkButton));
    EXPECT_TRUE(Session().Ended()) << "OK did not close the dialog";
  }
  // Presses the button and checks the error box it raises, then answers it.
  void ExpectBox(int buttonId, const std::wstring& caption, const std::wstring& text) {
    MessageBoxSeen box = Session().ClickForBox(Item(buttonId));
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    box.Answer();
    EXPECT_TRUE(IsWindowVisible(Session().Settings())) << "the dialog stays open";
  }
};

const std::wstring kErrorCaption = L"エラー";

TEST_F(SettingsDialog, EmptyStoreOpensWithTheDefaultsAndOnlyTheChosenKindsControlsEnabled) {
  ASSERT_NO_FATAL_FAILURE(Open());
  std::vector<std::wstring> methods;
  for (std::string_view label : MethodListLabels()) methods.push_back(Widen(std::string(label)));
  EXPECT_EQ(ComboItems(Item(kIdMethodList)), methods);
  std::vector<std::wstring> motions;
  for (TextId label : {TextId::kMotionStraight, TextId::kMotionCurve, TextId::kMotionSlideShow})
    motions.push_back(W(Tr(label)));
  EXPECT_EQ(ComboItems(Item(kIdMotionList)), motions);

  const std::map<int, std::wstring> expected{
      {kIdPluginEdit, L" (disabled)"},
      {kIdImageFileEdit, L" (disabled)"},
      {kIdImageFolderEdit, L" (disabled)"},
      {kIdIntervalEdit, L"60 (disabled)"},
      {kIdSizeEdit, L"8"},
      {kIdMoveEdit, L"3"},
      {kIdWeightEdit, L"1"},
      {kIdBasicRadio, L"checked"},
      {kIdPluginRadio, L"clear"},
      {kIdShuffleCheck, L"clear"},
      {kIdMonoToneCheck, L"clear"},
      {kIdBlurCheck, L"clear"},
      {kIdBrightnessCheck, L"clear"},
      {kIdRandomImageRadio, L"checked"},
      {kIdImageFileRadio, L"clear"},
      {kIdImageFolderRadio, L"clear"},
      {kIdMethodList, L"0"},
      {kIdMotionList, L"0"},
      {kIdSizeScroll, L"8"},
      {kIdMoveScroll, L"3"},
      {kIdWeightScroll, L"1"},
  };
  EXPECT_EQ(ControlStates(*session_), expected);
  for (int id : {kIdImageFileBrowseButton, kIdImageFolderBrowseButton, kIdPluginBrowseButton})
    EXPECT_FALSE(Enabled(Item(id))) << id;
  for (int id :
       {kIdMethodList, kIdDetailsButton, kIdShuffleCheck, kIdMonoToneCheck, kIdBlurCheck, kIdBrightnessCheck,
        kIdMotionList, kIdOkButton, kIdCancelButton, kIdUpdateButton, kIdHelpButton})
    EXPECT_TRUE(Enabled(Item(id))) << id;
  EXPECT_NE(Text(Item(kIdVersionLabel)).find(W(TESSIVANE_VERSION_TEXT)), std::wstring::npos)
      << "the about area";

  // Cancel right away still writes the loaded record back.
  Cancel();
  for (const auto& [name, value] : DefaultSettings()) EXPECT_EQ(Setting("Settings", name), value) << name;
}

TEST_F(SettingsDialog, CancelWritesTheLoadedValuesBackNormalisedAndKeepsASizeOutsideTheRange) {
  PutSetting("Settings", "FileType", L"7");
  PutSetting("Settings", "UnitType", L"12");
  PutSetting("Settings", "TransType", L"3");
  PutSetting("Settings", "MovePositionType", L"5");
  PutSetting("Settings", "ImageChangeTime", L"-5");
  PutSetting("Settings", "MonoTone", L"2");
  PutSetting("Settings", "Size", L"100");
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(Text(Item(kIdSizeEdit)), L"64");
  EXPECT_EQ(ScrollPosition(Item(kIdSizeScroll)), 64);
  EXPECT_EQ(ComboSelection(Item(kIdMethodList)), 0) << "a type without a list position selects the first";
  EXPECT_TRUE(Checked(Item(kIdMonoToneCheck)));
  EXPECT_TRUE(Checked(Item(kIdRandomImageRadio)));
  Cancel();
  EXPECT_EQ(Setting("Settings", "FileType"), L"1");
  EXPECT_EQ(Setting("Settings", "UnitType"), L"-1");
  EXPECT_EQ(Setting("Settings", "TransType"), L"1");
  EXPECT_EQ(Setting("Settings", "MovePositionType"), L"0");
  EXPECT_EQ(Setting("Settings", "ImageChangeTime"), L"60");
  EXPECT_EQ(Setting("Settings", "MonoTone"), L"1");
  EXPECT_EQ(Setting("Settings", "Size"), L"100") << "only an applied dialog brings the size into range";
}

// A stored value of a type the settings cannot read used to stop the
// settings run with its box, so nothing could ever repair the store.
TEST_F(SettingsDialog, AValueThatIsNotTextIsReportedThenShownAtItsDefaultCancelKeepsItAndOkRepairsIt) {
  const std::map<std::string, std::wstring> stored{
      {"Move", L"5"},
      {"Weight", L"7"},
      {"MonoTone", L"1"},
      {"UnitType", L"4"},
      {"FileType", L"7"},
      {"ImageChangeTime", L"30"},
      {"DllFileName", L"C:\\p.dll"},
      {"MovePositionType", L"2"},
  };
  for (const auto& [name, text] : stored) PutSetting("Settings", name, text);
  PutSettingDword("Settings", "Size", 20);
  // The box first, then the dialog with the default for Size only.
  auto openAfterTheBox = [](SaverProcess& run) -> HWND {
    MessageBoxSeen box = WaitForMessageBox(run.Id(), kStartBound, {});
    if (!box) return nullptr;
    EXPECT_EQ(box.caption, L"Tessivane");
    EXPECT_EQ(box.text, L"'Size' のデータ型が不正です.");
    box.Answer();
    return WaitForTopWindow(run.Id(), kDialogClassName, SettingsCaption().c_str(), kStartBound);
  };
  {
    SaverProcess run(L"/c");
    HWND dialog = openAfterTheBox(run);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens after the message";
    EXPECT_EQ(Text(Control(dialog, kIdSizeEdit)), L"8");
    EXPECT_EQ(Text(Control(dialog, kIdMoveEdit)), L"5");
    EXPECT_EQ(Text(Control(dialog, kIdWeightEdit)), L"7");
    EXPECT_TRUE(Checked(Control(dialog, kIdMonoToneCheck)));
    EXPECT_EQ(ComboSelection(Control(dialog, kIdMotionList)), 2);
    ClickAsync(Control(dialog, kIdCancelButton));
    EXPECT_TRUE(run.WaitForExit(kExitBound));
  }
  EXPECT_EQ(SettingType("Settings", "Size"), static_cast<DWORD>(REG_DWORD)) << "cancel writes nothing";
  for (const auto& [name, text] : stored) EXPECT_EQ(Setting("Settings", name), text) << name;
  {
    SaverProcess run(L"/c");
    HWND dialog = openAfterTheBox(run);
    ASSERT_NE(dialog, nullptr);
    ClickAsync(Control(dialog, kIdOkButton));
    EXPECT_TRUE(run.WaitForExit(kExitBound)) << "OK did not close the dialog";
  }
  EXPECT_EQ(SettingType("Settings", "Size"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Setting("Settings", "Size"), DefaultSettings().at("Size"));
  for (const auto& [name, text] : stored) {
    // OK stores what the dialog shows: the source kind it could show.
    EXPECT_EQ(Setting("Settings", name), name == "FileType" ? L"1" : text) << name;
  }
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_FALSE(Session().Box(kNoBoxWatch)) << "the store is repaired";
  Cancel();
}

TEST_F(SettingsDialog, SizeAboveTheRangeIsShownAndStoredAsTheBound) {
  PutSetting("Settings", "Size", L"100");
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(Text(Item(kIdSizeEdit)), L"64");
  OkAndEnd();
  EXPECT_EQ(Setting("Settings", "Size"), L"64");
}

TEST_F(SettingsDialog, PictureFileMustExistAndHoldOneAndAHalfCuts) {
  TempFolder folder;
  const std::wstring enough = folder.File(L"48x48.bmp");
  const std::wstring narrow = folder.File(L"47x100.bmp");
  WriteSolidBmp(enough, 48, 48, 0x808080);
  WriteSolidBmp(narrow, 47, 100, 0x808080);
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdImageFileRadio));
  EXPECT_TRUE(Checked(Item(kIdImageFileRadio)));
  EXPECT_TRUE(Enabled(Item(kIdImageFileEdit)));
  EXPECT_TRUE(Enabled(Item(kIdImageFileBrowseButton)));
  EXPECT_FALSE(Enabled(Item(kIdIntervalEdit)));
  EXPECT_EQ(FocusedWindow(Session().Settings()), Item(kIdImageFileEdit));

  SetText(Item(kIdImageFileEdit), folder.File(L"missing.bmp"));
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(kIdOkButton, kErrorCaption,
                Widen(NamedMessage(Narrow(folder.File(L"missing.bmp")), Tr(TextId::kFileNotFound)))));
  EXPECT_EQ(FocusedWindow(Session().Settings()), Item(kIdImageFileEdit)) << "the box at fault has the focus";

  SetText(Item(kIdImageFileEdit), narrow);
  ASSERT_NO_FATAL_FAILURE(ExpectBox(
      kIdOkButton, kErrorCaption, Widen(FormatUnitError(kErrSourceTooSmall, ShortenedName(Narrow(narrow))))));
  EXPECT_EQ(Setting("Settings", "FileType"), std::nullopt) << "a rejected OK stores nothing";

  SetText(Item(kIdImageFileEdit), enough);
  EXPECT_TRUE(Session().ClickRaisesNoBox(Item(kIdUpdateButton)));
  EXPECT_EQ(Setting("Settings", "FileType"), L"2");
  EXPECT_EQ(Setting("Settings", "BmpFileName"), enough);
  EXPECT_EQ(Setting("Settings", "Size"), L"8");

  // The largest size needs 384 x 384.
  const std::wstring large = folder.File(L"384x384.bmp");
  const std::wstring tooShort = folder.File(L"384x383.bmp");
  WriteSolidBmp(large, 384, 384, 0x808080);
  WriteSolidBmp(tooShort, 384, 383, 0x808080);
  SetScrollPosition(Item(kIdSizeScroll), 64);
  SetText(Item(kIdImageFileEdit), tooShort);
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(kIdOkButton, kErrorCaption,
                Widen(FormatUnitError(kErrSourceTooSmall, ShortenedName(Narrow(tooShort))))));
  EXPECT_EQ(Setting("Settings", "Size"), L"8");
  SetText(Item(kIdImageFileEdit), large);
  OkAndEnd();
  EXPECT_EQ(Setting("Settings", "BmpFileName"), large);
  EXPECT_EQ(Setting("Settings", "Size"), L"64");
}

TEST_F(SettingsDialog, MissingImageFolderIsRejected) {
  TempFolder folder;
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdImageFolderRadio));
  for (int id : {kIdImageFolderEdit, kIdImageFolderBrowseButton, kIdIntervalEdit})
    EXPECT_TRUE(Enabled(Item(id)));
  for (int id : {kIdImageFileEdit, kIdImageFileBrowseButton}) EXPECT_FALSE(Enabled(Item(id)));
  SetText(Item(kIdImageFolderEdit), folder.File(L"gone"));
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(kIdUpdateButton, kErrorCaption,
                Widen(NamedMessage(Narrow(folder.File(L"gone")), Tr(TextId::kFolderNotFound)))));
  EXPECT_EQ(FocusedWindow(Session().Settings()), Item(kIdImageFolderEdit));
  EXPECT_EQ(Setting("Settings", "FileType"), std::nullopt);
  SetText(Item(kIdImageFolderEdit), folder.Path());
  Click(Item(kIdUpdateButton));
  EXPECT_EQ(Setting("Settings", "FileType"), L"3");
  EXPECT_EQ(Setting("Settings", "ImageFolderName"), folder.Path());
  Cancel();
}

TEST_F(SettingsDialog, ValueBoxesFollowTheirScrollBarsAndIgnoreText) {
  PutSetting("Settings", "Size", L"20");
  ASSERT_NO_FATAL_FAILURE(Open());
  const HWND size = Item(kIdSizeEdit);
  SetText(size, L"abc");
  FocusControl(Session().Settings(), size);
  FocusControl(Session().Settings(), Item(kIdMoveEdit));
  EXPECT_EQ(ScrollPosition(Item(kIdSizeScroll)), 20);
  EXPECT_EQ(Text(size), L"abc") << "text that is no number stays until the next synchronisation";
  Click(Item(kIdUpdateButton));
  EXPECT_EQ(Text(size), L"20");
  EXPECT_EQ(Setting("Settings", "Size"), L"20");

  // A number moves the scroll bar, within its range.
  FocusControl(Session().Settings(), size);
  SetText(size, L"99");
  FocusControl(Session().Settings(), Item(kIdMoveEdit));
  EXPECT_EQ(ScrollPosition(Item(kIdSizeScroll)), 64);
  EXPECT_EQ(Text(size), L"64");
  // And the scroll bar writes its position into the box.
  SetScrollPosition(Item(kIdWeightScroll), 42);
  EXPECT_EQ(Text(Item(kIdWeightEdit)), L"42");
  SetScrollPosition(Item(kIdMoveScroll), 10);
  EXPECT_EQ(Text(Item(kIdMoveEdit)), L"10");
  OkAndEnd();
  EXPECT_EQ(Setting("Settings", "Size"), L"64");
  EXPECT_EQ(Setting("Settings", "Move"), L"10");
  EXPECT_EQ(Setting("Settings", "Weight"), L"42");
}

TEST_F(SettingsDialog, ReloadIntervalStoresSixtyForNegativeZeroAsItIsAndRejectsText) {
  TempFolder folder;
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdImageFolderRadio));
  SetText(Item(kIdImageFolderEdit), folder.Path());
  SetText(Item(kIdIntervalEdit), L"-5");
  Click(Item(kIdUpdateButton));
  EXPECT_EQ(Setting("Settings", "ImageChangeTime"), L"60");
  SetText(Item(kIdIntervalEdit), L"0");
  Click(Item(kIdUpdateButton));
  EXPECT_EQ(Setting("Settings", "ImageChangeTime"), L"0");
  SetText(Item(kIdIntervalEdit), L"x");
  PutSetting("Settings", "Shuffle", L"untouched");
  Click(Item(kIdShuffleCheck));
  ASSERT_NO_FATAL_FAILURE(ExpectBox(kIdUpdateButton, L"Tessivane",
                                    Widen(StandardErrorText(Format(Tr(TextId::kNotAnInteger), "x")))));
  EXPECT_EQ(Setting("Settings", "ImageChangeTime"), L"0");
  EXPECT_EQ(Setting("Settings", "Shuffle"), L"untouched") << "nothing is assigned or saved";
  Cancel();
}

TEST_F(SettingsDialog, MethodListPositionsStoreTheirCodes) {
  ASSERT_NO_FATAL_FAILURE(Open());
  // "ランダムに選ぶ", "花柄", "長方形".
  for (const auto& [position, code] : std::vector<std::pair<int, const wchar_t*>>{
           {testing::PinnedPositionOfType(testing::kPinnedRandomType), L"6"}, {4, L"7"}, {6, L"4"}}) {
    SelectComboItem(Item(kIdMethodList), position);
    Click(Item(kIdUpdateButton));
    EXPECT_EQ(Setting("Settings", "UnitType"), code) << position;
  }
  SelectComboItem(Item(kIdMotionList), 2);
  OkAndEnd();
  EXPECT_EQ(Setting("Settings", "UnitType"), L"4");
  EXPECT_EQ(Setting("Settings", "MovePositionType"), L"2");
}

TEST_F(SettingsDialog, PluginModeDisablesTheMethodsAndAnEmptyOrMissingLibraryFailsWithErrorSeven) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdPluginRadio));
  EXPECT_FALSE(Enabled(Item(kIdMethodList)));
  EXPECT_FALSE(Enabled(Item(kIdDetailsButton)));
  EXPECT_TRUE(Enabled(Item(kIdPluginEdit)));
  EXPECT_TRUE(Enabled(Item(kIdPluginBrowseButton)));
  EXPECT_EQ(FocusedWindow(Session().Settings()), Item(kIdPluginEdit));
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(kIdOkButton, kErrorCaption, Widen(FormatUnitError(kErrPluginLoad, DetailFile("")))));
  EXPECT_EQ(Setting("Settings", "TransType"), std::nullopt);
  const std::wstring missing = HostToWindowsPath(TESSIVANE_SOURCE_ROOT) + L"\\missing.dll";
  SetText(Item(kIdPluginEdit), missing);
  ASSERT_NO_FATAL_FAILURE(ExpectBox(kIdUpdateButton, kErrorCaption,
                                    Widen(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(missing))))));
  EXPECT_EQ(Setting("Settings", "TransType"), std::nullopt);

  Click(Item(kIdBasicRadio));
  EXPECT_TRUE(Enabled(Item(kIdMethodList)));
  EXPECT_TRUE(Enabled(Item(kIdDetailsButton)));
  EXPECT_FALSE(Enabled(Item(kIdPluginEdit)));
  EXPECT_FALSE(Enabled(Item(kIdPluginBrowseButton)));
  EXPECT_EQ(FocusedWindow(Session().Settings()), Item(kIdMethodList));
  Cancel();
  EXPECT_EQ(Setting("Settings", "TransType"), L"1");
}

TEST_F(SettingsDialog, PluginCheckStopsOnALibraryWithoutTheExportAndSavesDespiteAWrongAnswer) {
  const std::wstring good = PluginPath(TESSIVANE_TEST_PLUGIN_ANSWER1);
  const std::wstring noExport = PluginPath(TESSIVANE_TEST_PLUGIN_NOEXPORT);
  const std::wstring wrongAnswer = PluginPath(TESSIVANE_TEST_PLUGIN_ANSWER2);
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdPluginRadio));

  SetText(Item(kIdPluginEdit), good);
  EXPECT_TRUE(Session().ClickRaisesNoBox(Item(kIdUpdateButton)));
  EXPECT_EQ(Setting("Settings", "TransType"), L"2");
  EXPECT_EQ(Setting("Settings", "DllFileName"), good);

  SetText(Item(kIdPluginEdit), noExport);
  ASSERT_NO_FATAL_FAILURE(
      ExpectBox(kIdUpdateButton, kErrorCaption,
                Widen(FormatUnitError(kErrPluginExport, DetailFunction(kExportTessivaneDll)))));
  EXPECT_EQ(Setting("Settings", "DllFileName"), good) << "nothing saved";

  SetText(Item(kIdPluginEdit), wrongAnswer);
  MessageBoxSeen box = Session().ClickForBox(Item(kIdOkButton));
  ASSERT_TRUE(box);
  EXPECT_EQ(box.text, Widen(FormatUnitError(kErrPluginUnusable, UnitErrorMessage(kErrPluginUnusable))));
  box.Answer();
  EXPECT_TRUE(Session().Ended()) << "a wrong answer is only reported";
  EXPECT_EQ(Setting("Settings", "DllFileName"), wrongAnswer);
  EXPECT_EQ(Setting("Settings", "TransType"), L"2");
}

// The check asks the plug-in in a host process: one that crashes in its
// trial set-up, or whose DllMain never returns, is refused with error 7
// naming it, and the dialog answers messages while the host works.
TEST_F(SettingsDialog, PluginCheckRefusesAPluginThatCrashesOrHangsAndStaysResponsive) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdPluginRadio));
  for (const char* plugin : {TESSIVANE_TEST_PLUGIN_CRASH, TESSIVANE_TEST_PLUGIN_BLOCKLOAD}) {
    const std::wstring path = PluginPath(plugin);
    SCOPED_TRACE(Narrow(path));
    SetText(Item(kIdPluginEdit), path);
    ClickAsync(Item(kIdUpdateButton));
    PumpFor(kSettle);
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(Session().Settings(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result), 0)
        << "the dialog answers while the host works";
    MessageBoxSeen box = Session().Box(kPluginAnswerTimeoutMs + kBoxBound);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, Widen(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(path)))));
    box.Answer();
    EXPECT_EQ(Setting("Settings", "DllFileName"), std::nullopt) << "nothing saved";
  }
}

TEST_F(SettingsDialog, DroppedFilesPutTheFirstPathIntoThePictureBoxAndChangeNothingElse) {
  TempFolder folder;
  std::vector<std::wstring> files;
  for (const wchar_t* name : {L"一枚目.bmp", L"second.png", L"third.jpg"}) {
    files.push_back(folder.File(name));
    WriteSolidBmp(files.back(), 8, 8, 0);
  }
  PutSetting("Settings", "Size", L"20");
  PutSetting("Settings", "UnitType", L"3");
  PutSetting("Settings", "MonoTone", L"1");
  ASSERT_NO_FATAL_FAILURE(Open());
  std::map<int, std::wstring> before = ControlStates(*session_);
  RemoteMemory drop = DropFiles(Session().Settings(), files);
  std::map<int, std::wstring> after = ControlStates(*session_);
  EXPECT_EQ(after[kIdImageFileEdit], files.front() + L" (disabled)");
  after[kIdImageFileEdit] = before[kIdImageFileEdit];
  EXPECT_EQ(after, before);

  // A path longer than the old 260-character limit arrives whole.
  const std::wstring longPath =
      folder.Path() + L"\\" + std::wstring(150, L'長') + L"\\" + std::wstring(150, L'x') + L".bmp";
  RemoteMemory longDrop = DropFiles(Session().Settings(), {longPath});
  EXPECT_EQ(Text(Item(kIdImageFileEdit)), longPath);
  Cancel();
  EXPECT_EQ(Setting("Settings", "BmpFileName"), L"") << "a drop is not applied by itself";
}

// A program standing in for the browser: the shell opens ".html" files
// with it while the object lives, and it appends its command line to the
// file named by TESSIVANE_OPEN_PROBE_LOG. Wine's shell reads the file
// classes only from HKEY_CLASSES_ROOT, which has no ".html" of its own.
class PageOpener {
public:
  explicit PageOpener(const std::wstring& log)
      : extension_(HKEY_CLASSES_ROOT, L".html", L"", REG_SZ, kProgId, sizeof kProgId),
        command_(HKEY_CLASSES_ROOT, L"TessivaneTest.Page\\shell\\open\\command", L"", REG_SZ, Command(),
                 CommandBytes()),
        log_(log) {}
  ~PageOpener() { RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId); }
  std::wstring Environment() const { return L"TESSIVANE_OPEN_PROBE_LOG=" + log_; }
  // What the probe was given, once it has written it (empty after 5 s).
  std::string WaitForOpened() const {
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i) {
      PumpFor(50);
      opened = ReadFileText(log_);
    }
    return opened;
  }

private:
  static constexpr wchar_t kProgId[] = L"TessivaneTest.Page";
  static const wchar_t* Command() {
    static const std::wstring command = L"\"" + HostToWindowsPath(TESSIVANE_OPEN_PROBE) + L"\" \"%1\"";
    return command.c_str();
  }
  static DWORD CommandBytes() { return static_cast<DWORD>((wcslen(Command()) + 1) * sizeof(wchar_t)); }

  RegistryValue extension_;
  RegistryValue command_;
  std::wstring log_;
};

TEST_F(SettingsDialog, HelpOpensThePageBesideTheProgramOrSaysItIsMissing) {
  TempFolder folder;
  const std::wstring program = folder.File(L"Tessivane.scr");
  ASSERT_TRUE(CopyFileW(SaverPath().c_str(), program.c_str(), FALSE));
  PageOpener opener(folder.File(L"opened.txt"));
  SaverProcess::Options options;
  options.program = program;
  options.extraEnvironment.push_back(opener.Environment());
  ASSERT_NO_FATAL_FAILURE(Open(options));

  ASSERT_NO_FATAL_FAILURE(ExpectBox(kIdHelpButton, kErrorCaption, W(Tr(TextId::kHelpPageMissing))));

  ScopedKernelHandle page(CreateFileW(folder.File(L"Tessivane.html").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr));
  page.reset();
  EXPECT_TRUE(Session().ClickRaisesNoBox(Item(kIdHelpButton)));
  const std::string opened = opener.WaitForOpened();
  EXPECT_NE(opened.find("Tessivane.html"), std::string::npos) << "opened: " << opened;
  Cancel();
  for (int i = 0; i < 50 && !DeleteFileW(program.c_str()); ++i) PumpFor(20);
}

// The saver of the portable download as a user unpacks it, named by
// TESSIVANE_PORTABLE_SCR (tests/release/check-release sets it; skipped
// without): full screen it shows a pattern until a key, and its help
// button opens the page beside it.
TEST_F(SettingsDialog, PortableSaverShowsAPatternAndOpensTheHelpPageBesideIt) {
  const char* saver = std::getenv("TESSIVANE_PORTABLE_SCR");
  if (!saver) GTEST_SKIP() << "no TESSIVANE_PORTABLE_SCR";
  SaverProcess::Options options;
  options.program = Widen(saver);
  {
    SaverProcess run(L"/s", options);
    const HWND wnd = run.WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd, nullptr);
    bool pattern = false;
    for (int i = 0; i < 100 && !pattern; ++i, PumpFor(100)) pattern = !Capture(wnd).OneColour();
    EXPECT_TRUE(pattern) << "the screen stays one colour";
    PostKey(wnd, 'A');
    ASSERT_TRUE(run.WaitForExit(kExitBound));
  }
  TempFolder folder;
  PageOpener opener(folder.File(L"opened.txt"));
  options.extraEnvironment.push_back(opener.Environment());
  ASSERT_NO_FATAL_FAILURE(Open(options));
  EXPECT_TRUE(Session().ClickRaisesNoBox(Item(kIdHelpButton)));
  // The shell hands the page over as a file URL, with forward slashes.
  std::string page = Narrow(options.program.substr(0, options.program.rfind(L'\\'))) + "/Tessivane.html";
  std::replace(page.begin(), page.end(), '\\', '/');
  const std::string opened = opener.WaitForOpened();
  EXPECT_NE(opened.find(page), std::string::npos) << "opened: " << opened;
  Cancel();
}

// The file type list of the shell's open dialog (cmb1).
constexpr int kOpenDialogFilterList = 0x470;
// The picture dialog's preview area, in the child dialog below the
// standard controls.
constexpr int kPreviewArea = 100;

// The labels of a "label|pattern|label|pattern" filter.
std::vector<std::wstring> FilterLabels(const char* filter) {
  std::vector<std::wstring> labels;
  std::string text = filter;
  for (size_t at = 0, index = 0; at <= text.size(); ++index) {
    const size_t bar = std::min(text.find('|', at), text.size());
    if (index % 2 == 0) labels.push_back(Widen(text.substr(at, bar - at)));
    at = bar + 1;
  }
  return labels;
}

TEST_F(SettingsDialog, FileDialogsAndTheFolderPickerFillTheirBoxes) {
  TempFolder folder;
  const std::wstring picture = folder.File(L"写真.bmp");
  WriteSolidBmp(picture, 64, 64, 0x123456);
  const std::wstring plugin = PluginPath(TESSIVANE_TEST_PLUGIN_ANSWER1);
  SaverProcess::Options options;
  options.currentDirectory = folder.Path();  // the picker's root "\" is this drive's root
  ASSERT_NO_FATAL_FAILURE(Open(options));

  Click(Item(kIdImageFileRadio));
  ClickAsync(Item(kIdImageFileBrowseButton));
  HWND open = Session().WaitForOtherDialog(kStartBound);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(WindowText(open), W(Tr(TextId::kPictureDialogTitle)));
  EXPECT_EQ(ComboItems(Control(open, kOpenDialogFilterList)), FilterLabels(Tr(TextId::kPictureDialogFilter)));
  // Into the picture's folder (a folder name opens it), then the picture
  // chosen in the list shows in the preview.
  ConfirmOpenFileDialog(open, folder.Path());
  Settle(open);
  const HWND files = Descendant(open, L"SysListView32");
  ASSERT_NE(files, nullptr);
  int item = -1;
  for (int i = 0; i < 40 && item < 0; ++i) {
    item = FindListItem(files, L"写真");
    if (item < 0) PumpFor(50);
  }
  ASSERT_GE(item, 0) << "the picture's folder is listed";
  SelectListItem(files, item);
  Settle(open);
  PumpFor(kSettle);
  const Shot preview = Capture(Control(open, kPreviewArea));
  ASSERT_GT(preview.width, 8);
  ASSERT_GT(preview.height, 8);
  EXPECT_EQ(preview.pixels[preview.height / 2 * preview.width + preview.width / 2], 0x123456u)
      << "the preview shows the picture";
  ConfirmOpenFileDialog(open, picture);
  EXPECT_TRUE(WaitForWindowGone(open, kExitBound));
  Settle(Session().Settings());
  EXPECT_EQ(Text(Item(kIdImageFileEdit)), picture);

  Click(Item(kIdPluginRadio));
  ClickAsync(Item(kIdPluginBrowseButton));
  open = Session().WaitForOtherDialog(kStartBound);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(ComboItems(Control(open, kOpenDialogFilterList)), FilterLabels(Tr(TextId::kPluginDialogFilter)));
  ConfirmOpenFileDialog(open, plugin);
  EXPECT_TRUE(WaitForWindowGone(open, kExitBound));
  Settle(Session().Settings());
  EXPECT_EQ(_wcsicmp(Text(Item(kIdPluginEdit)).c_str(), plugin.c_str()), 0)
      << Narrow(Text(Item(kIdPluginEdit)));
  EXPECT_TRUE(Checked(Item(kIdImageFileRadio))) << "browsing changes no radio button";

  Click(Item(kIdImageFolderRadio));
  ClickAsync(Item(kIdImageFolderBrowseButton));
  HWND browser = Session().WaitForOtherDialog(kStartBound);
  ASSERT_NE(browser, nullptr);
  EXPECT_NE(DescendantWithText(browser, W(Tr(TextId::kFolderPickerTitle))), nullptr) << "the picker's title";
  EXPECT_FALSE(Enabled(Session().Settings())) << "the settings dialog waits while the picker is open";
  ConfirmFolderBrowser(browser, folder.Path());
  Settle(Session().Settings());
  EXPECT_TRUE(Enabled(Session().Settings()));
  EXPECT_EQ(_wcsicmp(Text(Item(kIdImageFolderEdit)).c_str(), folder.Path().c_str()), 0)
      << Narrow(Text(Item(kIdImageFolderEdit)));
  Cancel();
}

TEST_F(SettingsDialog, MnemonicsChooseTheirControlsAndUpdateSaves) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const HWND dialog = Session().Settings();
  PostAltKey(dialog, L'e');
  EXPECT_TRUE(Checked(Item(kIdPluginRadio)));
  EXPECT_FALSE(Enabled(Item(kIdMethodList)));
  PostAltKey(dialog, L'f');
  EXPECT_TRUE(Checked(Item(kIdBasicRadio)));
  EXPECT_TRUE(Enabled(Item(kIdMethodList)));
  PostAltKey(dialog, L'i');
  EXPECT_TRUE(Checked(Item(kIdImageFileRadio)));
  PostAltKey(dialog, L'd');
  EXPECT_TRUE(Checked(Item(kIdRandomImageRadio)));
  PostAltKey(dialog, L's');
  EXPECT_TRUE(Checked(Item(kIdShuffleCheck)));
  PostAltKey(dialog, L'l');
  EXPECT_EQ(FocusedWindow(dialog), Item(kIdSizeScroll)) << "a value label focuses its scroll bar";
  PostAltKey(dialog, L'a');
  EXPECT_EQ(Setting("Settings", "Shuffle"), L"1");
  PostAltKey(dialog, L'z');
  const HWND options =
      WaitForTopWindow(Session().Process().Id(), kDialogClassName, OptionsCaption().c_str(), kStartBound);
  ASSERT_NE(options, nullptr) << "the details mnemonic opens the options dialog";
  PostKeyToFocus(options, VK_ESCAPE);
  EXPECT_TRUE(WaitForWindowGone(options, kExitBound));
  PostAltKey(dialog, L'c');
  EXPECT_TRUE(Session().Ended());
}

// The hint of a control shows when the pointer rests on it and stays for
// five seconds in the settings run.
TEST_F(SettingsDialog, HintsShowOverTheirControls) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const HWND tip = ThreadTooltip(Session().Settings());
  ASSERT_NE(tip, nullptr);
  DWORD_PTR autoPop = 0;
  SendMessageTimeoutW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0, SMTO_NORMAL, 2000, &autoPop);
  EXPECT_EQ(autoPop, 5000u);
  EXPECT_EQ(HoverText(Item(kIdOkButton), 3000), W(Tr(TextId::kOkHint)));
  EXPECT_EQ(HoverText(Item(kIdMethodList), 3000), W(Tr(TextId::kMethodListHint)));
  EXPECT_EQ(HoverText(Item(kIdSizeEdit), 3000), W(Tr(TextId::kSizeHint)))
      << "the value row's multi-line hint";
  Cancel();
}

// Positions are pixels at 96 DPI; at 192 DPI every one doubles.
TEST_F(SettingsDialog, LayoutScalesWithTheDisplayResolution) {
  for (DWORD dpi : {96u, 192u}) {
    SCOPED_TRACE(dpi);
    RegistryValue resolution(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    ASSERT_NO_FATAL_FAILURE(Open());
    const int scale = static_cast<int>(dpi / 96);
    RECT client{};
    GetClientRect(Session().Settings(), &client);
    EXPECT_NEAR(client.right, 480 * scale, scale);
    EXPECT_NEAR(client.bottom, 497 * scale, scale);
    RECT ok = WindowRect(Item(kIdOkButton));
    MapWindowPoints(nullptr, Session().Settings(), reinterpret_cast<POINT*>(&ok), 2);
    EXPECT_NEAR(ok.left, 384 * scale, scale);
    EXPECT_NEAR(ok.top, 16 * scale, scale);
    EXPECT_NEAR(ok.right - ok.left, 81 * scale, scale);
    EXPECT_NEAR(ok.bottom - ok.top, 25 * scale, scale);
    Cancel();
  }
  // An absurd DPI change lays the dialog out at the largest scale (500 %).
  ASSERT_NO_FATAL_FAILURE(Open());
  const RECT place = WindowRect(Session().Settings());
  const ScopedKernelHandle process = OpenWindowProcess(Session().Settings());
  RemoteMemory suggested(process.get(), sizeof place);
  suggested.Write(&place, sizeof place);
  SendMessageTimeoutW(Session().Settings(), WM_DPICHANGED, MAKEWPARAM(10000, 10000), suggested.AsParam(), 0,
                      kExitBound, nullptr);
  EXPECT_EQ(WindowRect(Item(kIdOkButton)).right - WindowRect(Item(kIdOkButton)).left, 81 * 5);
  Cancel();
}

TEST_F(SettingsDialog, EscapeDiscardsAndEnterApplies) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdShuffleCheck));
  PostKeyToFocus(Session().Settings(), VK_ESCAPE);
  EXPECT_TRUE(Session().Ended());
  EXPECT_EQ(Setting("Settings", "Shuffle"), L"0");

  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdShuffleCheck));
  PostKeyToFocus(Session().Settings(), VK_RETURN);
  EXPECT_TRUE(Session().Ended());
  EXPECT_EQ(Setting("Settings", "Shuffle"), L"1");

  // A number typed into a value box counts though the focus never left it.
  ASSERT_NO_FATAL_FAILURE(Open());
  FocusControl(Session().Settings(), Item(kIdWeightEdit));
  SetText(Item(kIdWeightEdit), L"42");
  PostKeyToFocus(Session().Settings(), VK_RETURN);
  EXPECT_TRUE(Session().Ended());
  EXPECT_EQ(Setting("Settings", "Weight"), L"42");
}

// Accessibility tools close a dialog with messages they send, not post:
// WM_CLOSE, BM_CLICK on cancel, WM_CLOSE while the options dialog is open.
TEST_F(SettingsDialog, ClosingBySentMessageEndsTheRunAndWritesTheRecord) {
  for (int way : {0, 1, 2}) {
    DeleteProductKey();
    ASSERT_NO_FATAL_FAILURE(Open());
    if (way == 2 && !Session().OpenOptions()) FAIL() << "no options dialog";
    const bool cancel = way == 1;
    SendMessageTimeoutW(cancel ? Item(kIdCancelButton) : Session().Settings(), cancel ? BM_CLICK : WM_CLOSE,
                        0, 0, 0, kExitBound, nullptr);
    EXPECT_TRUE(Session().Ended()) << way;
    EXPECT_EQ(Setting("Settings", "Size"), L"8") << way << ": the record is written back";
  }
}

// The fade box shows the stored time, takes a new one into its range (a
// number outside it becomes the nearer end) and shows it again next time.
TEST_F(SettingsDialog, FadeTimeIsStoredWithinItsRangeAndShownAgain) {
  TempFolder folder;
  PutSetting("Settings", "FadeTime", L"12");
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_FALSE(Enabled(Item(kIdFadeEdit)));
  Click(Item(kIdImageFolderRadio));
  EXPECT_TRUE(Enabled(Item(kIdFadeEdit)));
  EXPECT_EQ(Text(Item(kIdFadeEdit)), L"12");
  SetText(Item(kIdImageFolderEdit), folder.Path());
  for (const auto& [typed, stored] :
       {std::pair{L"99", L"50"}, std::pair{L"-3", L"0"}, std::pair{L"25", L"25"}}) {
    SetText(Item(kIdFadeEdit), typed);
    Click(Item(kIdUpdateButton));
    EXPECT_EQ(Setting("Settings", "FadeTime"), stored) << typed;
  }
  OkAndEnd();
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(Text(Item(kIdFadeEdit)), L"25");
  Cancel();
}

}  // namespace
}  // namespace tessivane::test
