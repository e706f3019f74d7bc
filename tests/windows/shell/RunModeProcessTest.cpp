// Each run mode of the real program: what it opens and how it ends.
#include <gtest/gtest.h>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "dialogs/ControlIds.h"

namespace tessivane::test {
namespace {

HWND OwnerWindowOf(const SaverProcess& process) {
  auto owners = process.Windows(L"TessivaneOwner");
  return owners.empty() ? nullptr : owners.front();
}

TEST(SaverRun, CoversTheScreenBorderlessTopMostWithAToolWindowOwner) {
  SaverProcess saver(L"/s");
  HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  // Every monitor: the whole virtual screen (the primary screen here).
  const RECT rect = WindowRect(wnd);
  EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));

  HWND owner = GetWindow(wnd, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner, OwnerWindowOf(saver));
  EXPECT_EQ(GetWindowLongW(owner, GWL_EXSTYLE), WS_EX_TOOLWINDOW);  // exactly, nothing else
  EXPECT_EQ(WindowText(owner), L"Tessivane");
  EXPECT_TRUE(ScreenSaverRunning());
  CURSORINFO cursor{};
  cursor.cbSize = sizeof cursor;
  ASSERT_TRUE(GetCursorInfo(&cursor));
  EXPECT_FALSE(cursor.flags & CURSOR_SHOWING);

  PostKey(wnd, 'A');
  ASSERT_TRUE(saver.WaitForExit(kExitBound));
  EXPECT_EQ(saver.ExitCode(), 0u);
  EXPECT_FALSE(ScreenSaverRunning());
  ASSERT_TRUE(GetCursorInfo(&cursor));
  EXPECT_TRUE(cursor.flags & CURSOR_SHOWING);
}

TEST(SaverRun, WithAWindowHandleBecomesAChildOfThatWindow) {
  HostWindow host(320, 240);
  SaverProcess saver(L"/S " + HandleText(host.Handle()));
  HWND wnd = host.WaitForChild(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(GetParent(wnd), host.Handle());
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_TRUE(ScreenSaverRunning());
  // Still the saver: a click ends it.
  PostClick(wnd, 5, 5);
  ASSERT_TRUE(saver.WaitForExit(kExitBound));
  EXPECT_FALSE(ScreenSaverRunning());
}

// The child used to stay grey and deaf: it never became active, so its
// run never started, and keys went to the host window that had the focus.
TEST(SaverRun, AsAChildEndsOnARealKeyPress) {
  HostWindow host(320, 240);
  SetForegroundWindow(host.Handle());
  SaverProcess saver(L"/s " + HandleText(host.Handle()));
  ASSERT_NE(host.WaitForChild(L"SaverWindow", kStartBound), nullptr);
  PumpFor(kSettle);
  ASSERT_TRUE(SendKeyPress('K'));
  EXPECT_TRUE(saver.WaitForExit(kExitBound));
}

class PreviewRun : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(PreviewRun, LivesInsideTheHostWindowAtItsSizeAndEndsWithIt) {
  HostWindow host(200, 150);
  SaverProcess preview(std::wstring(GetParam()) + L" " + HandleText(host.Handle()));
  HWND wnd = host.WaitForChild(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_FALSE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const RECT rect = WindowRect(wnd);
  const RECT hostRect = WindowRect(host.Handle());
  EXPECT_EQ(rect.left, hostRect.left);
  EXPECT_EQ(rect.top, hostRect.top);
  EXPECT_EQ(rect.right - rect.left, 200);
  EXPECT_EQ(rect.bottom - rect.top, 150);
  HWND owner = OwnerWindowOf(preview);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(GetWindowLongW(owner, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ScreenSaverRunning());

  host.Destroy();
  EXPECT_TRUE(preview.WaitForExit(kExitBound));
}

INSTANTIATE_TEST_SUITE_P(Switches, PreviewRun, ::testing::Values(L"/p", L"/l"));

TEST(PreviewRun, WithoutAUsableParentEndsAtOnce) {
  SaverProcess preview(L"/p");
  EXPECT_TRUE(preview.WaitForExit(kExitBound));
}

class SettingRun : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(SettingRun, OpensTheSettingsWindowThatClosesNormally) {
  SaverProcess setting(GetParam());
  HWND wnd =
      setting.WaitForWindow(dialogs::kDialogClassName, kStartBound, dialogs::SettingsCaption().c_str());
  ASSERT_NE(wnd, nullptr);
  EXPECT_TRUE(setting.Windows(L"SaverWindow").empty());
  EXPECT_FALSE(ScreenSaverRunning());
  PostMessageW(wnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(setting.WaitForExit(kExitBound));
  EXPECT_EQ(setting.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Switches, SettingRun, ::testing::Values(L"", L"/c:1234", L"/C"));

// The password-change mode opens no window of its own. What it shows
// depends on whether the system's MPR.DLL has the password-change entry.
TEST(ChangePasswordRun, CallsTheSystemEntryOrShowsTheMessage) {
  ScopedModule mpr(LoadLibraryExW(L"MPR.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const bool hasEntry = mpr && GetProcAddress(mpr.get(), "PwdChangePasswordA");
  SaverProcess change(L"/a");
  if (hasEntry) {
    EXPECT_TRUE(change.WaitForExit(kExitBound));
  } else {
    HWND box = change.WaitForWindow(L"#32770", kStartBound, L"エラー");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"この機能は使えません");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(change.WaitForExit(kExitBound));
  }
  EXPECT_TRUE(change.Windows(L"SaverWindow").empty());
}

// Wine's per-program DLL override takes MPR.DLL away from the saver.
TEST(ChangePasswordRun, WithoutMprShowsTheMessageAndEnds) {
  const wchar_t disabled[] = L"";
  RegistryValue noMpr(L"Software\\Wine\\AppDefaults\\Tessivane.scr\\DllOverrides", L"mpr", REG_SZ, disabled,
                      sizeof disabled);
  SaverProcess change(L"/A");
  HWND box = change.WaitForWindow(L"#32770", kStartBound, L"エラー");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"この機能は使えません");
  EXPECT_TRUE(change.Windows(L"SaverWindow").empty());
  EXPECT_TRUE(change.Running());  // the box is modal: the run ends when it is dismissed
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(change.WaitForExit(kExitBound));
}

}  // namespace
}  // namespace tessivane::test
