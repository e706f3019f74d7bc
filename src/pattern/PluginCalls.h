// Where the plug-in's code runs. A plug-in is code from outside that may
// crash, hang or end its process, so the set-up and the settings dialog's
// check hand the whole conversation with it to the installed runner as one
// question, and get all its answers back at once. With none installed the
// conversation runs in this process (the renderer, the native tests). The
// Windows program installs a runner that asks a plug-in host process.
#pragma once
#include "pattern/PluginConversation.h"

namespace tessivane {

// How long a runner that asks elsewhere waits for the answers: loading the
// library and every question of the largest area, on a busy machine.
inline constexpr unsigned kPluginAnswerTimeoutMs = 10000;

class PluginCallRunner {
public:
  virtual ~PluginCallRunner() = default;
  // The answers to `question`. A conversation that could not be held or
  // whose answers were lost answers error 7 (PluginCallFailed). Throws
  // PluginRunEnded when the run ends first.
  virtual PluginAnswers Ask(const PluginQuestion& question) = 0;
};

// Installs the runner (null: ask in this process).
void SetPluginCallRunner(PluginCallRunner* runner);
PluginCallRunner* GetPluginCallRunner();

// Asks through the installed runner, or in this process when there is none.
PluginAnswers AskPluginThroughRunner(const PluginQuestion& question);

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
