// The saver window's runner for plug-in calls: the plug-in is asked on a
// worker thread while the window's thread keeps handling its messages, so
// a key or a click still ends a run whose plug-in takes long or never
// returns.
#pragma once
#include <functional>

#include "pattern/PluginCalls.h"

namespace tessivane {

class PluginCallPump : public PluginCallRunner {
public:
  // Starts work on a worker thread and handles this thread's messages until
  // it ends; passes on what work threw. When the run ends first (WM_QUIT
  // comes), the quit message is posted again for the caller's message loop
  // and PluginRunEnded is thrown: the worker is left where it stands, with
  // its library still loaded (a library whose code is running is never
  // unloaded), and the process ends with it when the program returns.
  void Run(const std::function<void()>& work) override;
};

// Installs a runner for the lifetime of this object.
class ScopedPluginCallRunner {
public:
  explicit ScopedPluginCallRunner(PluginCallRunner& runner) : previous_(GetPluginCallRunner()) {
    SetPluginCallRunner(&runner);
  }
  ~ScopedPluginCallRunner() { SetPluginCallRunner(previous_); }
  ScopedPluginCallRunner(const ScopedPluginCallRunner&) = delete;
  ScopedPluginCallRunner& operator=(const ScopedPluginCallRunner&) = delete;

private:
  PluginCallRunner* previous_;
};

}  // namespace tessivane
