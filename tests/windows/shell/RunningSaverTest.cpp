// The running saver seen from outside: the real Tessivane.scr with its
// settings in the registry, judged by what it puts on the screen, the
// boxes it raises and the settings it leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "base/Utf.h"
#include "codecs/PictureLoader.h"
#include "pattern/MethodTable.h"
#include "settings/MemorySettingsStore.h"
#include "settings/MusicSettings.h"
#include "settings/MethodOptions.h"
#include "settings/MainSettings.h"
#include "shell/SaverWindow.h"
#include "shell/Startup.h"

namespace tessivane::test {
namespace {

constexpr DWORD kFrames = 700;  // long enough for a few frames after the first at 100 ms

// The saver's own message boxes (dialog class "#32770").
HWND ErrorBox(const SaverProcess& saver, DWORD ms) { return saver.WaitForWindow(L"#32770", ms); }

// How many pixels of the 10 x 10 corner at the bottom right of a shot still
// show the window's background colour instead of the pattern.
int BackgroundAtBottomRight(const Shot& shot) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
  int background = 0;
  for (int y = shot.height - 10; y < shot.height; ++y)
    for (int x = shot.width - 10; x < shot.width; ++x)
      background += shot.pixels[y * shot.width + x] == faceRgb;
  return background;
}

class RunningSaver : public ::testing::Test {
protected:
  void SetUp() override { DeleteProductKey(); }
  void TearDown() override {
    saver_.reset();
    DeleteProductKey();
  }

  void Start() {
    SetCursorPos(300, 300);
    saver_.emplace(L"/s");
    wnd_ = saver_->WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd_, nullptr);
  }
  void CloseWithKey() {
    PostKey(wnd_, VK_SPACE);
    EXPECT_TRUE(saver_->WaitForExit(kExitBound));
  }
  // Waits for the saver's box, checks its caption and text, answers OK and
  // closes the saver.
  void AnswerBoxAndClose(const std::wstring& caption, const std::wstring& text) {
    HWND box = ErrorBox(*saver_, kStartBound);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), caption);
    EXPECT_EQ(MessageBoxText(box), text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpFor(kSettle);
    CloseWithKey();
  }

  std::optional<SaverProcess> saver_;
  HWND wnd_ = nullptr;
};

TEST_F(RunningSaver, EmptyRegistryShowsAMovingKaleidoscopeAndWritesTheRecordsBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kFrames);
  const Shot first = Capture(wnd_);
  PumpFor(1000);
  const Shot second = Capture(wnd_);
  EXPECT_EQ(first.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(first.height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(first.OneColour());
  EXPECT_FALSE(second.OneColour());
  EXPECT_NE(first, second) << "the pattern moves";
  // The composer works at the full-screen size: the bottom-right corner is
  // painted too, not left in the background colour.
  EXPECT_LT(BackgroundAtBottomRight(second), 100);
  EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
  CloseWithKey();

  // The values the three records hold after loading an empty store.
  MemorySettingsStore defaults;
  {
    MainSettings reg(defaults);
    MethodOptions option(defaults);
    MusicSettings music(defaults);
  }
  size_t checked = 0;
  for (const auto& [subkey, values] : defaults.contents().subkeys) {
    for (const auto& [name, value] : values) {
      EXPECT_EQ(Setting(subkey, name), Widen(*defaults.Text(subkey, name))) << subkey << "\\" << name;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 16u + 4u + 2u);
}

// A monitor added or removed: the window covers the new virtual screen and
// the frame takes its size, with no error. The change is simulated: the
// window is moved and made smaller first, then told that the display
// changed. A mouse that stays where it is on the screen is at another place
// in the moved window; that must not end the run.
TEST_F(RunningSaver, DisplayChangeCoversTheVirtualScreenAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kWarmUp);
  PostMouseMove(wnd_, 300, 300);  // recorded: from now on a movement ends the run
  PumpFor(kSettle);
  SetWindowPos(wnd_, nullptr, 100, 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  PostMouseMove(wnd_, 200, 250);  // the same place on the screen
  PumpFor(kSettle);
  ASSERT_TRUE(saver_->Running()) << "a still mouse in a moved window is no movement";
  ASSERT_EQ(Capture(wnd_).width, 300);
  PostMessageW(wnd_, WM_DISPLAYCHANGE, 32,
               MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  PostMouseMove(wnd_, 300, 300);
  PumpFor(kFrames);
  ASSERT_TRUE(saver_->Running());
  const RECT rect = WindowRect(wnd_);
  EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  const Shot shot = Capture(wnd_);
  EXPECT_FALSE(shot.OneColour());
  EXPECT_LT(BackgroundAtBottomRight(shot), 100);
  EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
  CloseWithKey();
}

TEST_F(RunningSaver, EveryConversionMethodRunsWithoutAnErrorBox) {
  for (int type : {1, 2, 3, 4, 5, 6, 7, 10, 11}) {
    SCOPED_TRACE(type);
    PutSetting("Settings", "UnitType", std::to_wstring(MethodTypeToCode(type)));
    ASSERT_NO_FATAL_FAILURE(Start());
    PumpFor(kFrames);
    EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
    EXPECT_FALSE(Capture(wnd_).OneColour());
    CloseWithKey();
  }
}

TEST_F(RunningSaver, WeightZeroLeavesTheFirstFrameStanding) {
  PutSetting("Settings", "Weight", L"0");
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kFrames);
  const Shot first = Capture(wnd_);
  PumpFor(500);
  EXPECT_FALSE(first.OneColour());
  EXPECT_EQ(first, Capture(wnd_));
  CloseWithKey();
  EXPECT_EQ(Setting("Settings", "Weight"), L"0");
}

TEST_F(RunningSaver, FolderSourceChangesPictureDuringTheRun) {
  TempFolder folder;
  WriteSolidBmp(folder.File(L"red.bmp"), 120, 120, 0xFF0000);
  PutSetting("Settings", "FileType", L"3");
  PutSetting("Settings", "ImageFolderName", folder.Path());
  PutSetting("Settings", "ImageChangeTime", L"1");
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kFrames);
  EXPECT_EQ(Capture(wnd_).pixels.front(), 0xFF0000u);
  // From now on the folder holds only a blue picture.
  WriteSolidBmp(folder.File(L"blue.bmp"), 120, 120, 0x0000FF);
  for (int i = 0; i < 50 && !DeleteFileW(folder.File(L"red.bmp").c_str()); ++i) PumpFor(20);
  bool blue = false;
  for (int i = 0; i < 20 && !blue; ++i) {
    PumpFor(200);
    const Shot shot = Capture(wnd_);
    blue = shot.OneColour() && shot.pixels.front() == 0x0000FF;
  }
  EXPECT_TRUE(blue) << "the picture changed within four seconds";
  EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
  CloseWithKey();
}

// With a fade time of 3 s at 100 ms frames, the change from the red picture
// to the blue one passes through several colours between the two.
TEST_F(RunningSaver, FolderPictureChangeFadesWithAFadeTime) {
  TempFolder folder;
  WriteSolidBmp(folder.File(L"red.bmp"), 120, 120, 0xFF0000);
  for (const auto& [name, value] : {std::pair{"FileType", L"3"}, std::pair{"ImageChangeTime", L"1"},
                                    std::pair{"FadeTime", L"30"}, std::pair{"Weight", L"10"}})
    PutSetting("Settings", name, value);
  PutSetting("Settings", "ImageFolderName", folder.Path());
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kFrames);
  EXPECT_EQ(Capture(wnd_).pixels.front(), 0xFF0000u);
  WriteSolidBmp(folder.File(L"blue.bmp"), 120, 120, 0x0000FF);
  for (int i = 0; i < 50 && !DeleteFileW(folder.File(L"red.bmp").c_str()); ++i) PumpFor(20);
  std::set<uint32_t> between;
  bool blue = false;
  for (int i = 0; i < 100 && !blue; ++i) {
    PumpFor(100);
    const Shot shot = Capture(wnd_);
    if (!shot.OneColour()) continue;
    blue = shot.pixels.front() == 0x0000FF;
    if (!blue && shot.pixels.front() != 0xFF0000) between.insert(shot.pixels.front());
  }
  EXPECT_TRUE(blue) << "the fade ended on the new picture";
  EXPECT_GE(between.size(), 2u) << "shots during the change differ from the pictures before and after";
  EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
  CloseWithKey();
}

TEST_F(RunningSaver, PictureSmallerThanOneAndAHalfCutsShowsErrorFiveAndStoresTheRandomPicture) {
  TempFolder folder;
  WriteSolidBmp(folder.File(L"small.bmp"), 40, 40, 0x336699);  // the cut is 32: 48 pixels are needed
  PutSetting("Settings", "FileType", L"2");
  PutSetting("Settings", "BmpFileName", folder.File(L"small.bmp"));
  ASSERT_NO_FATAL_FAILURE(Start());
  // The picture is named after the error's own text.
  AnswerBoxAndClose(L"エラー", Widen(FormatUnitError(kErrSourceTooSmall,
                                                     ShortenedName(Narrow(folder.File(L"small.bmp"))))));
  EXPECT_EQ(Setting("Settings", "FileType"), L"1");
}

// In a folder, a picture too small for the cut used to stop the run with
// error 5 and store the random picture as the source. It is passed over.
TEST_F(RunningSaver, FolderPictureTooSmallForTheCutIsPassedOver) {
  TempFolder folder;
  WriteSolidBmp(folder.File(L"red.bmp"), 120, 120, 0xFF0000);
  WriteSolidBmp(folder.File(L"tiny.bmp"), 40, 40, 0x00FF00);
  PutSetting("Settings", "FileType", L"3");
  PutSetting("Settings", "ImageFolderName", folder.Path());
  PutSetting("Settings", "ImageChangeTime", L"0");  // a change after every frame
  ASSERT_NO_FATAL_FAILURE(Start());
  for (int i = 0; i < 10; ++i) {
    PumpFor(300);
    EXPECT_EQ(ErrorBox(*saver_, 0), nullptr);
    const Shot shot = Capture(wnd_);
    EXPECT_TRUE(shot.OneColour() && shot.pixels.front() == 0xFF0000) << i;
  }
  CloseWithKey();
  EXPECT_EQ(Setting("Settings", "FileType"), L"3");
}

// A box naming a 1,600-character path used to run off the screen: the
// name is shortened in the middle so the box fits in 640 pixels.
TEST_F(RunningSaver, BoxNamingAVeryLongPathFitsOnTheScreen) {
  TempFolder folder;
  std::wstring path = folder.Path();
  while (path.size() < 1590) path += L"\\abcdefghijklmnopqrstuvwxyz";
  path.resize(1600 - 9);
  path += L"\\gone.png";
  ASSERT_EQ(path.size(), 1600u);
  PutSetting("Settings", "FileType", L"2");
  PutSetting("Settings", "BmpFileName", path);
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND box = ErrorBox(*saver_, kStartBound);
  ASSERT_NE(box, nullptr);
  const RECT rect = WindowRect(box);
  EXPECT_LE(rect.right - rect.left, 640) << Narrow(MessageBoxText(box));
  EXPECT_NE(MessageBoxText(box).find(L"gone.png"), std::wstring::npos);
  EXPECT_NE(MessageBoxText(box).find(L"…"), std::wstring::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  PumpFor(kSettle);
  CloseWithKey();
}

TEST_F(RunningSaver, MissingPictureFileShowsItsOwnMessageInTheStandardBox) {
  TempFolder folder;
  PutSetting("Settings", "FileType", L"2");
  PutSetting("Settings", "BmpFileName", folder.File(L"gone.png"));
  // The file's name, shortened to fit the box, then the loader's words for it.
  const std::string message = NamedMessage(Narrow(folder.File(L"gone.png")), Tr(TextId::kPictureCannotOpen));
  ASSERT_NO_FATAL_FAILURE(Start());
  AnswerBoxAndClose(L"Tessivane", Widen(StandardErrorText(message)));
  EXPECT_EQ(Setting("Settings", "FileType"), L"2");
}

// A stored value of a type the settings cannot read used to fail the whole
// load: the box came at every start and the screen stayed blank until a key.
TEST_F(RunningSaver, AValueThatIsNotTextIsReportedOnceThenTheRunUsesItsDefaultAndWritesNothing) {
  PutSettingDword("Settings", "Size", 20);
  PutSetting("Settings", "FileType", L"7");  // a normal run writes it back as "1"
  SetCursorPos(300, 300);
  saver_.emplace(L"/s");
  HWND box = ErrorBox(*saver_, kStartBound);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Tessivane");
  EXPECT_EQ(MessageBoxText(box), L"'Size' のデータ型が不正です.");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  wnd_ = saver_->WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd_, nullptr);
  PumpFor(kFrames);
  EXPECT_FALSE(Capture(wnd_).OneColour()) << "the kaleidoscope runs";
  EXPECT_EQ(ErrorBox(*saver_, 0), nullptr) << "one box a start";
  CloseWithKey();
  EXPECT_EQ(SettingType("Settings", "Size"), static_cast<DWORD>(REG_DWORD)) << "left for the user to repair";
  EXPECT_EQ(Setting("Settings", "FileType"), L"7");
}

// A saver window made in this process, as the run makes it, inside a parent
// window of the test: Wine shows no drawing of a child window whose parent
// belongs to another process. It runs on an empty store unless told to take
// the settings stored now.
class InProcessRun {
public:
  InProcessRun(RunMode mode, HWND parent, bool storedSettings = false) {
    if (!storedSettings) DeleteProductKey();
    window.emplace(GetModuleHandleW(nullptr), nullptr, mode, parent);
  }
  ~InProcessRun() {
    window.reset();
    PumpFor(kSettle);  // the window's end posts a quit message; it goes here
    DeleteProductKey();
  }
  std::optional<SaverWindow> window;
};

// The preview is set up during its creation at the design size (641 x 448);
// a larger preview window used to get only that part painted.
TEST(RunningPreview, DrawsThePatternOverTheWholeWindowAndIgnoresInput) {
  for (const SIZE size : {SIZE{200, 150}, SIZE{800, 600}}) {
    SCOPED_TRACE(size.cx);
    HostWindow host(size.cx, size.cy);
    InProcessRun run(RunMode::kPreview, host.Handle());
    run.window->SetBounds(0, 0, size.cx, size.cy);
    run.window->Show();
    const HWND wnd = run.window->Handle();
    PumpFor(kFrames);
    const Shot first = Capture(wnd);
    PostClick(wnd, 20, 20);
    PostKey(wnd, 'A');
    PostMouseMove(wnd, 5, 5);
    PumpFor(600);
    const Shot second = Capture(wnd);
    EXPECT_TRUE(IsWindow(wnd)) << "input never closes the preview";
    EXPECT_EQ(first.width, size.cx);
    EXPECT_EQ(first.height, size.cy);
    EXPECT_FALSE(first.OneColour());
    EXPECT_NE(first, second) << "the pattern moves";
    EXPECT_LT(BackgroundAtBottomRight(first), 100);
    EXPECT_LT(BackgroundAtBottomRight(second), 100);
  }
}

// "/s <handle>": the saver inside another window. It is never activated;
// its frames used to never start, and keys went to the parent.
TEST(RunningSaverInAWindow, StartsItsFramesWhenShownAndEndsOnARealKey) {
  HostWindow host(400, 300);
  SetForegroundWindow(host.Handle());
  InProcessRun run(RunMode::kSaver, host.Handle());
  run.window->Show();
  const HWND wnd = run.window->Handle();
  PumpFor(kFrames);
  const Shot shot = Capture(wnd);
  EXPECT_EQ(shot.width, 400) << "the saver fills the window it lives in";
  EXPECT_EQ(shot.height, 300);
  EXPECT_FALSE(shot.OneColour());
  EXPECT_LT(BackgroundAtBottomRight(shot), 100);
  ASSERT_TRUE(SendKeyPress('K'));
  PumpFor(kSettle);
  EXPECT_FALSE(IsWindow(wnd)) << "a key ends the run";
}

// Runs a preview of the settings in the registry for a few frames and
// checks that it raised no box and still runs, then ends it.
void RunSilentPreview(const std::function<void()>& whileRunning = [] {}) {
  HostWindow host(200, 150);
  SaverProcess preview(L"/p " + HandleText(host.Handle()));
  ASSERT_NE(host.WaitForChild(L"SaverWindow", kStartBound), nullptr);
  PumpFor(kFrames);
  whileRunning();
  EXPECT_EQ(ErrorBox(preview, 0), nullptr);
  EXPECT_TRUE(preview.Running());
  host.Destroy();
  EXPECT_TRUE(preview.WaitForExit(kExitBound));
}

// A setting stored while a run held its own copy (the dialog's Apply during
// a preview) was undone when the run ended.
TEST_F(RunningSaver, AValueStoredDuringARunOrAPreviewSurvivesItsEnd) {
  PutSetting("Settings", "FileType", L"7");  // untouched: written back as "1"
  ASSERT_NO_FATAL_FAILURE(Start());
  PutSetting("Settings", "FadeTime", L"44");
  CloseWithKey();
  EXPECT_EQ(Setting("Settings", "FadeTime"), L"44");
  EXPECT_EQ(Setting("Settings", "FileType"), L"1");
  RunSilentPreview([] { PutSetting("Settings", "UnitType", L"8"); });
  EXPECT_EQ(Setting("Settings", "UnitType"), L"8");
}

TEST(RunningPreview, PictureErrorsPassSilently) {
  DeleteProductKey();
  TempFolder folder;
  PutSetting("Settings", "FileType", L"2");
  PutSetting("Settings", "BmpFileName", folder.File(L"gone.png"));
  RunSilentPreview();
  DeleteProductKey();
}

TEST(RunningPreview, AValueThatIsNotTextPassesSilently) {
  DeleteProductKey();
  PutSettingDword("Settings", "Size", 20);
  RunSilentPreview();
  EXPECT_EQ(SettingType("Settings", "Size"), static_cast<DWORD>(REG_DWORD));
  DeleteProductKey();
}

// Closing the control panel while a set-up error box of the preview was up
// destroyed the window under the open box: the settings were freed while the
// failing set-up still used them, so the random picture was never stored and
// the run ended with an error about the window's creation.
TEST(RunningPreview, ParentClosedUnderASetUpErrorBoxStillStoresTheRandomPicture) {
  DeleteProductKey();
  TempFolder folder;
  WriteSolidBmp(folder.File(L"small.bmp"), 40, 40, 0x336699);  // error 5: the cut is 32
  PutSetting("Settings", "FileType", L"2");
  PutSetting("Settings", "BmpFileName", folder.File(L"small.bmp"));
  HostWindow host(200, 150);
  SaverProcess preview(L"/p " + HandleText(host.Handle()));
  const HWND box = ErrorBox(preview, kStartBound);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            Widen(FormatUnitError(kErrSourceTooSmall, ShortenedName(Narrow(folder.File(L"small.bmp"))))));
  host.Destroy();
  PumpFor(kSettle);
  if (HWND left = ErrorBox(preview, 0)) PostMessageW(left, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(preview.WaitForExit(kExitBound));
  EXPECT_EQ(preview.ExitCode(), 0u);
  EXPECT_EQ(Setting("Settings", "FileType"), L"1");
  DeleteProductKey();
}

// The left quarter of the window's client area: a box comes up in the
// middle of the screen and is at most 640 pixels wide.
std::vector<uint32_t> LeftQuarter(HWND wnd) {
  const Shot shot = Capture(wnd);
  std::vector<uint32_t> part;
  for (int y = 0; y < shot.height; ++y) {
    const auto row = shot.pixels.begin() + static_cast<ptrdiff_t>(y) * shot.width;
    part.insert(part.end(), row, row + shot.width / 4);
  }
  return part;
}

// Two shots 800 ms apart differ and hold a few colours between them (the
// random picture is made of flat shapes: a tile may hold only a few).
void ExpectMoving(HWND wnd, const char* when) {
  const std::vector<uint32_t> first = LeftQuarter(wnd);
  PumpFor(800);
  const std::vector<uint32_t> second = LeftQuarter(wnd);
  std::set<uint32_t> colours(first.begin(), first.end());
  colours.insert(second.begin(), second.end());
  EXPECT_TRUE(first != second) << when << ": the pattern moves";
  EXPECT_GT(colours.size(), 2u) << when << ": a pattern is shown";
}

// Whether top-level window `upper` lies above `lower`.
bool Above(HWND upper, HWND lower) {
  for (HWND wnd = GetWindow(upper, GW_HWNDNEXT); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
    if (wnd == lower) return true;
  return false;
}

// Whether the pointer shows (Wine: as the foreground window's thread has it).
bool PointerShown() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

void WritePatternBmp(const std::wstring& path) {
  WriteBmp(path, 256, 256,
           [](int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t(x ^ y); });
}

void RemovePictures(const TempFolder& folder, bool removeFolder) {
  for (int i = 0; i < 50 && !DeleteFileW(folder.File(L"pattern.bmp").c_str()); ++i) PumpFor(20);
  if (removeFolder)
    for (int i = 0; i < 50 && !RemoveDirectoryW(folder.Path().c_str()); ++i) PumpFor(20);
}

// The settings a case stores before the start (each is expected back after
// the run, FileType as the case says) and the box it expects.
struct Arranged {
  std::vector<std::pair<const char*, std::wstring>> settings;
  std::wstring caption;
  std::wstring text;
};

Arranged FolderRun(const TempFolder& folder, TextId error) {
  WritePatternBmp(folder.File(L"pattern.bmp"));
  return {{{"FileType", L"3"}, {"ImageFolderName", folder.Path()}, {"ImageChangeTime", L"1"}},
          L"Tessivane",
          Widen(StandardErrorText(NameInMessage(Narrow(folder.Path()), Tr(error))))};
}

Arranged DamagedFile(const TempFolder& folder) {
  const std::wstring path = folder.File(L"damaged.bmp");
  std::ofstream(std::filesystem::path(path), std::ios::binary) << "BM" << std::string(60, '\xFF');
  std::wstring text = L"(the damaged picture loaded)";
  try {
    LoadPicture(Narrow(path));
  } catch (const PictureError& e) {
    text = Widen(StandardErrorText(e.AboutFile(Narrow(path)).what()));
  }
  return {{{"FileType", L"2"}, {"BmpFileName", path}}, L"Tessivane", text};
}

// A plug-in that cannot be used, with a picture file that can: error 7.
Arranged BrokenPlugin(const TempFolder& folder, const std::wstring& plugin) {
  WritePatternBmp(folder.File(L"pattern.bmp"));
  return {{{"FileType", L"2"},
           {"BmpFileName", folder.File(L"pattern.bmp")},
           {"TransType", L"2"},
           {"DllFileName", plugin},
           {"UnitType", std::to_wstring(MethodTypeToCode(3))}},
          Widen(Tr(TextId::kErrorCaption)),
          Widen(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(plugin))))};
}

struct Trouble {
  const char* name;
  std::function<Arranged(const TempFolder&)> arrange;
  std::function<void(const TempFolder&)> midRun;  // the trouble made during the run; null: at the start
  const wchar_t* fileTypeAfter;
  bool folderComesBack = false;  // with a blue picture, which is then shown
  bool preview = false;          // no box
};

// A picture source or plug-in that fails, at the start or during the run,
// shows its box once; the frames go on under the box and after it, with the
// random picture or the settings' built-in method in place of what failed.
TEST_F(RunningSaver, TroubleWithThePicturesOrThePluginLeavesAMovingPatternAndOneBox) {
  const Trouble troubles[] = {
      {"folder removed, then put back", [](auto& f) { return FolderRun(f, TextId::kFolderNotFound); },
       [](auto& f) { RemovePictures(f, true); }, L"3", true},
      {"folder emptied", [](auto& f) { return FolderRun(f, TextId::kNoImageFile); },
       [](auto& f) { RemovePictures(f, false); }, L"3"},
      {"damaged picture file", DamagedFile, nullptr, L"2"},
      {"missing plug-in", [](auto& f) { return BrokenPlugin(f, f.File(L"なし.dll")); }, nullptr, L"1"},
      {"plug-in crashing",
       [](auto& f) { return BrokenPlugin(f, HostToWindowsPath(TESSIVANE_TEST_PLUGIN_CRASH)); }, nullptr,
       L"1"},
      // The plug-in host's answer time (10 s) runs out.
      {"plug-in blocking while it loads",
       [](auto& f) { return BrokenPlugin(f, HostToWindowsPath(TESSIVANE_TEST_PLUGIN_BLOCKLOAD)); }, nullptr,
       L"1"},
      {"preview of a damaged picture file", DamagedFile, nullptr, L"2", false, true},
  };
  for (const Trouble& trouble : troubles) {
    SCOPED_TRACE(trouble.name);
    DeleteProductKey();
    TempFolder folder;
    const Arranged arranged = trouble.arrange(folder);
    for (const auto& [name, value] : arranged.settings) PutSetting("Settings", name, value);
    const auto expectStored = [&] {
      for (const auto& [name, value] : arranged.settings)
        EXPECT_EQ(Setting("Settings", name), name == std::string("FileType") ? trouble.fileTypeAfter : value)
            << name;
    };
    if (trouble.preview) {
      RunSilentPreview();
      expectStored();
      if (HasFailure()) continue;
      HostWindow host(200, 150);
      InProcessRun run(RunMode::kPreview, host.Handle(), true);
      run.window->SetBounds(0, 0, 200, 150);
      run.window->Show();
      PumpFor(kFrames);
      ExpectMoving(run.window->Handle(), "preview");
      continue;
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    if (trouble.midRun) {
      PumpFor(kFrames);
      ExpectMoving(wnd_, "before the trouble");
      trouble.midRun(folder);
    }
    const HWND box = ErrorBox(*saver_, kStartBound);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), arranged.caption);
    EXPECT_EQ(MessageBoxText(box), arranged.text);
    EXPECT_TRUE(Above(box, wnd_)) << "the box comes up above the saver";
    EXPECT_TRUE(PointerShown()) << "the box is answered with the pointer";
    ExpectMoving(wnd_, "under the box");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpFor(kFrames);  // a folder's next change fails again, silently
    ExpectMoving(wnd_, "after the box");
    EXPECT_EQ(ErrorBox(*saver_, 0), nullptr) << "one box";
    EXPECT_FALSE(PointerShown()) << "the run hides the pointer again";
    if (trouble.folderComesBack) {
      CreateDirectoryW(folder.Path().c_str(), nullptr);
      WriteSolidBmp(folder.File(L"blue.bmp"), 120, 120, 0x0000FF);
      bool blue = false;
      for (int i = 0; i < 20 && !blue; ++i) {
        PumpFor(200);
        const Shot shot = Capture(wnd_);
        blue = shot.OneColour() && shot.pixels.front() == 0x0000FF;
      }
      EXPECT_TRUE(blue) << "the folder's picture is shown within four seconds";
    }
    CloseWithKey();
    expectStored();
  }
}

}  // namespace
}  // namespace tessivane::test
