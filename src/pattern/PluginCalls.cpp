#include "pattern/PluginCalls.h"

namespace tessivane {

namespace {
PluginCallRunner* g_runner = nullptr;
}

void SetPluginCallRunner(PluginCallRunner* runner) { g_runner = runner; }
PluginCallRunner* GetPluginCallRunner() { return g_runner; }

PluginAnswers AskPluginThroughRunner(const PluginQuestion& question) {
  return g_runner ? g_runner->Ask(question) : AskPlugin(question);
}

}  // namespace tessivane
