// Where the plug-in's code runs. A plug-in is code from outside that may
// take long or never return, so the set-up hands every call into it (load,
// lookups, questions, unload) to the installed runner as one piece of work.
// With none installed the work runs at once on the caller's thread (the
// renderer, the tests). The saver window installs a runner that runs it on
// a worker thread and keeps answering input meanwhile.
#pragma once
#include <functional>

#include "base/Errors.h"  // PluginRunEnded

namespace tessivane {

class PluginCallRunner {
public:
  virtual ~PluginCallRunner() = default;
  // Runs work to its end and returns, passing on whatever work threw; or
  // throws PluginRunEnded when the run ends first.
  virtual void Run(const std::function<void()>& work) = 0;
};

// Installs the runner (null: run the work inline).
void SetPluginCallRunner(PluginCallRunner* runner);
PluginCallRunner* GetPluginCallRunner();

// Runs work through the installed runner, or inline when there is none.
void RunPluginCalls(const std::function<void()>& work);

}  // namespace tessivane
