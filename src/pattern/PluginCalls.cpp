#include "pattern/PluginCalls.h"

namespace tessivane {

namespace {
PluginCallRunner* g_runner = nullptr;
}

void SetPluginCallRunner(PluginCallRunner* runner) { g_runner = runner; }
PluginCallRunner* GetPluginCallRunner() { return g_runner; }

void RunPluginCalls(const std::function<void()>& work) {
  if (g_runner) {
    g_runner->Run(work);
  } else {
    work();
  }
}

}  // namespace tessivane
