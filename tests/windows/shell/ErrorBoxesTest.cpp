// The program's two error boxes, shown for real in this process: a thread
// raises the box, the test reads it and presses OK.
#include "base/ErrorBoxes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <thread>

#include "SaverHarness.h"
#include "SaverTimes.h"

namespace tessivane::test {
namespace {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
};

// Runs show on its own thread and answers the box it raises, if any.
template <class Show>
std::optional<SeenBox> ShowAndDismiss(Show show, DWORD wait = kStartBound) {
  std::atomic<bool> done{false};
  std::thread thread([&] {
    show();
    done = true;
  });
  std::optional<SeenBox> seen;
  const ULONGLONG end = GetTickCount64() + wait;
  while (!done && GetTickCount64() < end) {
    if (HWND box = WaitForProcessWindow(GetCurrentProcessId(), L"#32770", 50)) {
      seen = SeenBox{WindowText(box), MessageBoxText(box)};
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      break;
    }
  }
  thread.join();
  return seen;
}

TEST(ErrorBoxes, UncaughtErrorGoesToTheStandardBoxWithAFullStop) {
  auto seen = ShowAndDismiss([] {
    try {
      throw std::runtime_error("ファイルが見つかりません");
    } catch (...) {
      HandleException();
    }
  });
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->caption, L"Tessivane");
  EXPECT_EQ(seen->text, L"ファイルが見つかりません.");
}

TEST(ErrorBoxes, SilentAbortShowsNothing) {
  auto seen = ShowAndDismiss(
      [] {
        try {
          throw SilentAbort();
        } catch (...) {
          HandleException();
        }
      },
      kSettle);
  EXPECT_FALSE(seen);
}

// An allocation failure used to reach the user as the library's English
// "std::bad_alloc"; it gets the program's own message instead.
TEST(ErrorBoxes, AllocationFailureGetsTheOutOfMemoryMessage) {
  for (int kind = 0; kind < 2; ++kind) {
    auto seen = ShowAndDismiss([kind] {
      try {
        if (kind == 0) throw std::bad_alloc();
        throw std::length_error("vector");
      } catch (...) {
        HandleException();
      }
    });
    ASSERT_TRUE(seen) << kind;
    EXPECT_EQ(seen->caption, L"エラー");
    EXPECT_EQ(seen->text, L"メモリが不足しています。");
  }
}

TEST(ErrorBoxes, CommonErrorBoxHasTheErrorCaption) {
  MessageBoxErrorDisplay display;
  auto seen = ShowAndDismiss([&] { display.ShowErrorMessage("この機能は使えません"); });
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->caption, L"エラー");
  EXPECT_EQ(seen->text, L"この機能は使えません");
}

}  // namespace
}  // namespace tessivane::test
