#include "shell/PluginCallPump.h"

#include <windows.h>

#include <exception>
#include <memory>

#include "base/ScopedWin.h"

namespace tessivane {

namespace {

// Shared by the caller and the worker: whichever lets go last frees it.
struct PluginWork {
  std::function<void()> work;
  std::exception_ptr error;
};

DWORD WINAPI RunPluginWork(void* parameter) {
  std::unique_ptr<std::shared_ptr<PluginWork>> held(static_cast<std::shared_ptr<PluginWork>*>(parameter));
  PluginWork& state = **held;
  try {
    state.work();
  } catch (...) {
    state.error = std::current_exception();
  }
  return 0;
}

}  // namespace

void PluginCallPump::Run(const std::function<void()>& work) {
  auto state = std::make_shared<PluginWork>();
  state->work = work;
  auto parameter = std::make_unique<std::shared_ptr<PluginWork>>(state);
  ScopedKernelHandle thread(CreateThread(nullptr, 0, &RunPluginWork, parameter.get(), 0, nullptr));
  if (!thread) {
    work();  // no thread to be had: ask the plug-in here
    return;
  }
  parameter.release();  // the worker owns its reference now
  HANDLE handle = thread.get();
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) break;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        throw PluginRunEnded();
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (woken == WAIT_FAILED) {
      WaitForSingleObject(handle, INFINITE);
      break;
    }
  }
  if (state->error) std::rethrow_exception(state->error);
}

}  // namespace tessivane
