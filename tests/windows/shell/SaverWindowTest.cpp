// How the saver window answers input and the system's start-saver command.
#include <gtest/gtest.h>

#include <optional>

#include "SaverHarness.h"
#include "SaverTimes.h"

namespace tessivane::test {
namespace {

// Starts the full-screen saver with the real pointer parked at (300, 300),
// so any mouse event that Windows itself sends carries that position.
class SaverWindow : public ::testing::Test {
protected:
  void Start() {
    SetCursorPos(300, 300);
    started_ = GetTickCount64();
    saver_.emplace(L"/s");
    wnd_ = saver_->WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd_, nullptr);
  }
  bool StaysAfter(DWORD ms) {
    PumpFor(ms);
    return saver_->Running() && IsWindow(wnd_);
  }

  std::optional<SaverProcess> saver_;
  HWND wnd_ = nullptr;
  ULONGLONG started_ = 0;  // just before the process was started
};

TEST_F(SaverWindow, MouseMovesCloseOnlyAfterWarmUpAndARecordedPosition) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // Within the first second no movement counts: right away, and again late
  // in that second. The warm-up starts after the process does, so 900 ms
  // after the start it is still running.
  PostMouseMove(wnd_, 10, 10);
  PostMouseMove(wnd_, 900, 700);
  const ULONGLONG lateInWarmUp = started_ + 900;
  if (const ULONGLONG now = GetTickCount64(); now < lateInWarmUp)
    PumpFor(static_cast<DWORD>(lateInWarmUp - now));
  PostMouseMove(wnd_, 20, 20);
  PostMouseMove(wnd_, 800, 600);
  EXPECT_TRUE(StaysAfter(kSettle));
  PumpFor(kWarmUp);
  // The first movement after the warm-up only records where the mouse is.
  PostMouseMove(wnd_, 300, 300);
  EXPECT_TRUE(StaysAfter(kSettle));
  PostMouseMove(wnd_, 300, 300);  // no real movement
  EXPECT_TRUE(StaysAfter(kSettle));
  PostMouseMove(wnd_, 301, 300);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));
}

TEST_F(SaverWindow, ClickCloses) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PostClick(wnd_, 300, 300);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));
}

TEST_F(SaverWindow, RightClickAndAltKeyCloseToo) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PostMessageW(wnd_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 300));
  PostMessageW(wnd_, WM_RBUTTONUP, 0, MAKELPARAM(300, 300));
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));

  ASSERT_NO_FATAL_FAILURE(Start());
  PostMessageW(wnd_, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));
}

// Input through the system's input queue, as a user's would come.
TEST_F(SaverWindow, RealKeyPressCloses) {
  ASSERT_NO_FATAL_FAILURE(Start());
  PumpFor(kSettle);
  ASSERT_TRUE(SendKeyPress(VK_SHIFT));
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));
}

TEST_F(SaverWindow, RefusesTheSystemStartSaverCommand) {
  ASSERT_NO_FATAL_FAILURE(Start());
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutW(wnd_, WM_SYSCOMMAND, SC_SCREENSAVE, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_EQ(result, 1u);
  EXPECT_TRUE(StaysAfter(kSettle));
  PostKey(wnd_, VK_ESCAPE);
  EXPECT_TRUE(saver_->WaitForExit(kExitBound));
}

TEST(PreviewWindow, IgnoresClicksKeysAndMouseMoves) {
  HostWindow host(200, 150);
  SaverProcess preview(L"/p " + HandleText(host.Handle()));
  HWND wnd = host.WaitForChild(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  PumpFor(kWarmUp);
  PostMouseMove(wnd, 10, 10);
  PostMouseMove(wnd, 50, 60);
  PostMouseMove(wnd, 90, 20);
  PostClick(wnd, 20, 20);
  PostKey(wnd, 'A');
  PostMessageW(wnd, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
  PumpFor(kSettle);
  EXPECT_TRUE(preview.Running());
  EXPECT_TRUE(IsWindow(wnd));
  host.Destroy();
  EXPECT_TRUE(preview.WaitForExit(kExitBound));
}

// The control panel's process killed: the system takes the preview's
// window away with its parent and tells the preview nothing (under Wine),
// which used to live on, invisible, for ever. Here the settings dialog of
// another saver process stands in for the control panel.
TEST(PreviewWindow, EndsSoonAfterItsParentsProcessIsKilledAndWritesItsRecordsBack) {
  DeleteProductKey();
  SaverProcess panel(L"/c");
  const HWND parent = panel.WaitForWindow(L"#32770", kStartBound);
  ASSERT_NE(parent, nullptr);
  SaverProcess preview(L"/p " + HandleText(parent));
  const ULONGLONG until = GetTickCount64() + kStartBound;
  while (!FindWindowExW(parent, nullptr, L"SaverWindow", nullptr) && GetTickCount64() < until) PumpFor(20);
  ASSERT_NE(FindWindowExW(parent, nullptr, L"SaverWindow", nullptr), nullptr);
  PumpFor(kSettle);
  DeleteProductKey();  // what the preview's end writes back shows below

  const ScopedKernelHandle panelProcess(OpenProcess(PROCESS_TERMINATE, FALSE, panel.Id()));
  ASSERT_TRUE(TerminateProcess(panelProcess.get(), 1));
  EXPECT_TRUE(preview.WaitForExit(2500));
  EXPECT_EQ(preview.ExitCode(), 0u);
  EXPECT_TRUE(Setting("Settings", "Size").has_value()) << "the records were written back";
  DeleteProductKey();
}

}  // namespace
}  // namespace tessivane::test
