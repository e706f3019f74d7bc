// The saver window's runner for plug-in calls, in this process: the work
// runs on another thread while this thread's messages are handled, its
// exceptions come back, and the end of the run abandons it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <new>

#include "base/ScopedWin.h"
#include "shell/PluginCallPump.h"

namespace tessivane {
namespace {

TEST(PluginCallPump, RunsTheWorkElsewhereWhileMessagesAreHandledAndPassesItsErrorsOn) {
  PluginCallPump pump;
  const DWORD caller = GetCurrentThreadId();
  DWORD worker = 0;
  pump.Run([&] { worker = GetCurrentThreadId(); });
  EXPECT_NE(worker, 0u);
  EXPECT_NE(worker, caller);

  // The work waits until this thread has handled a message posted to it.
  static ScopedKernelHandle handled;
  handled.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ScopedWindow window(
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  SetWindowLongPtrW(window.get(), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND wnd, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                      if (msg == WM_APP) SetEvent(handled.get());
                      return DefWindowProcW(wnd, msg, w, l);
                    }));
  PostMessageW(window.get(), WM_APP, 0, 0);
  bool seen = false;
  pump.Run([&] { seen = WaitForSingleObject(handled.get(), 10000) == WAIT_OBJECT_0; });
  EXPECT_TRUE(seen) << "the caller's messages were handled while the work ran";

  EXPECT_THROW(pump.Run([] { throw std::bad_alloc(); }), std::bad_alloc);
}

TEST(PluginCallPump, TheEndOfTheRunAbandonsTheWorkAndLeavesTheQuitMessage) {
  PluginCallPump pump;
  struct Shared {
    ScopedKernelHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> finished{false};
  };
  static Shared shared;  // outlives the abandoned work
  PostQuitMessage(7);
  EXPECT_THROW(pump.Run([] {
    WaitForSingleObject(shared.release.get(), INFINITE);
    shared.finished = true;
  }),
               PluginRunEnded);
  EXPECT_FALSE(shared.finished);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  // The abandoned work goes on by itself once it can.
  SetEvent(shared.release.get());
  for (int i = 0; i < 500 && !shared.finished; ++i) Sleep(10);
  EXPECT_TRUE(shared.finished);
}

}  // namespace
}  // namespace tessivane
