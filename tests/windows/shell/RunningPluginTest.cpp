// The real Tessivane.scr with a plug-in as its method: an example plug-in
// draws frames, a broken one shows its error box, and one that never
// returns, blocks while it loads, crashes or ends its process does not
// keep the run from ending or take the saver with it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "base/Utf.h"

// After windows.h (from SaverHarness.h), which it needs.
#include <tlhelp32.h>

namespace tessivane::test {
namespace {

const wchar_t kSettingsKey[] = L"Software\\Qel\\Tessivane\\Settings";

void PutSetting(const wchar_t* name, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring Setting(const wchar_t* name) {
  wchar_t text[1024] = {};
  DWORD size = sizeof text;
  RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
  return text;
}

// A few screen pixels of the window's client area, row by row.
std::wstring Sample(HWND wnd) {
  RECT rect{};
  GetClientRect(wnd, &rect);
  ScopedWindowDC dc(wnd);
  std::wstring pixels;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const COLORREF c = GetPixel(dc.get(), rect.right * (2 * x + 1) / 16, rect.bottom * (2 * y + 1) / 16);
      pixels += std::to_wstring(c) + L" ";
    }
  return pixels;
}

bool OneColour(const std::wstring& sample) {
  const std::wstring first = sample.substr(0, sample.find(L' ') + 1);
  for (size_t at = 0; at < sample.size(); at += first.size())
    if (sample.compare(at, first.size(), first) != 0) return false;
  return true;
}

// The saver's plug-in hosts; docs/testing.md says why its program is matched.
int ChildProcesses(DWORD parent) {
  const std::wstring saver = SaverPath(), program = saver.substr(saver.rfind(L'\\') + 1);
  ScopedKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int children = 0;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    children += entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, program.c_str()) == 0;
  return children;
}

class RunningPlugin : public ::testing::Test {
protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Qel\\Tessivane"); }
  void TearDown() override {
    saver_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Qel\\Tessivane");
  }

  // The saver with the plug-in switch on ("TransType" 2) and this library.
  void Start(const std::wstring& plugin) {
    PutSetting(L"TransType", L"2");
    PutSetting(L"DllFileName", plugin);
    SetCursorPos(300, 300);
    saver_.emplace(L"/s");
    wnd_ = saver_->WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd_, nullptr);
  }

  void ExpectErrorBox(const std::string& text) {
    HWND box = saver_->WaitForWindow(L"#32770", kStartBound);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), Widen(Tr(TextId::kErrorCaption)));
    EXPECT_EQ(MessageBoxText(box), Widen(text));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpFor(kSettle);
    PostKey(wnd_, VK_SPACE);
    EXPECT_TRUE(saver_->WaitForExit(kExitBound));
  }

  std::optional<SaverProcess> saver_;
  HWND wnd_ = nullptr;
};

TEST_F(RunningPlugin, ExamplePluginDrawsMovingFrames) {
  for (const char* plugin : {TESSIVANE_EXAMPLE_HEXAGON, TESSIVANE_EXAMPLE_WAVES}) {
    SCOPED_TRACE(plugin);
    ASSERT_NO_FATAL_FAILURE(Start(HostToWindowsPath(plugin)));
    PumpFor(1000);
    const std::wstring first = Sample(wnd_);
    PumpFor(800);
    const std::wstring second = Sample(wnd_);
    EXPECT_EQ(saver_->WaitForWindow(L"#32770", 0), nullptr);
    EXPECT_FALSE(OneColour(first));
    EXPECT_NE(first, second) << "the pattern moves";
    PostKey(wnd_, VK_SPACE);
    EXPECT_TRUE(saver_->WaitForExit(kExitBound));
    EXPECT_EQ(Setting(L"TransType"), L"2");
  }
}

TEST_F(RunningPlugin, BrokenPluginsShowTheirErrorBox) {
  const std::wstring broken = HostToWindowsPath(TESSIVANE_TEST_PLUGIN_WITHOUT_TRANS);
  ASSERT_NO_FATAL_FAILURE(Start(broken));
  ExpectErrorBox(FormatUnitError(kErrPluginExport, DetailFunction("MakeTransMethod")));

  TempFolder folder;
  const std::wstring missing = folder.File(L"なし.dll");
  ASSERT_NO_FATAL_FAILURE(Start(missing));
  ExpectErrorBox(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(missing))));
}

// The plug-in is asked in a host process while the window keeps handling
// input: a key (and a click) ends the run although the plug-in never
// returns, without an error box, and the settings are written back.
TEST_F(RunningPlugin, PluginThatNeverReturnsDoesNotFreezeTheRun) {
  const std::wstring hang = HostToWindowsPath(TESSIVANE_TEST_PLUGIN_HANG);
  ASSERT_NO_FATAL_FAILURE(Start(hang));
  PumpFor(1000);
  EXPECT_TRUE(saver_->Running());
  PostKey(wnd_, VK_SPACE);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound)) << "a key ends the run";
  EXPECT_EQ(saver_->ExitCode(), 0u);
  EXPECT_EQ(Setting(L"DllFileName"), hang);

  ASSERT_NO_FATAL_FAILURE(Start(hang));
  PumpFor(kWarmUp);
  PostClick(wnd_, 40, 40);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound)) << "a click ends the run";
  EXPECT_EQ(saver_->ExitCode(), 0u);
}

// A plug-in whose DllMain never returns holds the host's loader lock, not
// the saver's: a key ends the run at once, with the random picture and with
// a picture file (whose decoding thread needs the saver's loader lock), and
// neither the saver nor its host outlives it.
TEST_F(RunningPlugin, PluginBlockingWhileItLoadsEndsWithTheRun) {
  TempFolder folder;
  const std::wstring picture = folder.File(L"picture.bmp");
  WriteSolidBmp(picture, 400, 300, 0x336699);
  for (bool fromFile : {false, true}) {
    SCOPED_TRACE(fromFile ? "picture file" : "random picture");
    if (fromFile) {
      PutSetting(L"FileType", L"2");
      PutSetting(L"BmpFileName", picture);
    }
    ASSERT_NO_FATAL_FAILURE(Start(HostToWindowsPath(TESSIVANE_TEST_PLUGIN_BLOCKLOAD)));
    PumpFor(1500);
    ASSERT_TRUE(saver_->Running());
    EXPECT_EQ(ChildProcesses(saver_->Id()), 1) << "the plug-in's host";
    const DWORD saver = saver_->Id();
    PostKey(wnd_, VK_SPACE);
    EXPECT_TRUE(saver_->WaitForExit(2000)) << "a key ends the run";
    PumpFor(kSettle);
    EXPECT_EQ(ChildProcesses(saver), 0) << "the host ends with the run";
  }
}

// A plug-in that crashes, ends its process or hoards memory takes only its
// host: the saver shows error 7 naming the library, and a key then ends the run.
TEST_F(RunningPlugin, PluginThatCrashesExitsOrHoardsMemoryGivesError7) {
  for (const char* plugin :
       {TESSIVANE_TEST_PLUGIN_CRASH, TESSIVANE_TEST_PLUGIN_EXIT, TESSIVANE_TEST_PLUGIN_EAT}) {
    const std::wstring path = HostToWindowsPath(plugin);
    SCOPED_TRACE(Narrow(path));
    ASSERT_NO_FATAL_FAILURE(Start(path));
    ExpectErrorBox(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(path))));
    EXPECT_EQ(saver_->ExitCode(), 0u);
  }
}

// The box speaks the display language, details included: run in the Japanese
// and the English prefix (wine.shell, wine-en.shell).
using PluginDetails = RunningPlugin;
TEST_F(PluginDetails, ErrorDetailsSpeakTheDisplayLanguage) {
  SetLanguage(LanguageOfLangId(GetUserDefaultUILanguage()));  // the saver's rule
  TempFolder folder;
  const std::wstring missing = folder.File(L"missing.dll");
  ASSERT_NO_FATAL_FAILURE(Start(missing));
  ExpectErrorBox(FormatUnitError(kErrPluginLoad, DetailFile(Narrow(missing))));

  SetEnvironmentVariableW(L"TESSIVANE_TEST_PLUGIN", L"sym=9");
  ASSERT_NO_FATAL_FAILURE(Start(HostToWindowsPath(TESSIVANE_TEST_PLUGIN_SCRIPTED)));
  ExpectErrorBox(FormatUnitError(kErrPluginSymmetry, DetailSymmetry(9)));
  SetEnvironmentVariableW(L"TESSIVANE_TEST_PLUGIN", nullptr);
}

}  // namespace
}  // namespace tessivane::test
