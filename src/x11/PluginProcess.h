// Plug-ins run in a process of their own. A plug-in is foreign code: it may
// crash, hang, end its process or take all the memory. So tessivane never
// loads one itself: it starts this same program again as a plug-in host
// (`tessivane --plugin-host`), in a process group of its own that dies with
// it, hands it the whole question and reads all its answers, in the byte
// format of pattern/PluginConversation.h. A host that crashes, ends
// without answering, goes beyond its memory or does not answer within
// kPluginAnswerTimeoutMs gives error 7 naming the library, and is ended and
// reaped with everything it started. The process that asks becomes the
// subreaper of the plug-ins' processes and ends every child it has besides
// the host once the host is gone: it must start no other children.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "pattern/PluginCalls.h"

namespace tessivane::x11 {

// The only argument of a start as a plug-in host. The question comes on
// file descriptor kPluginQuestionFd (read from its start), the answers go
// to kPluginAnswerFd.
inline constexpr char kPluginHostSwitch[] = "--plugin-host";
inline constexpr int kPluginQuestionFd = 3;
inline constexpr int kPluginAnswerFd = 4;
// The address space the host may take beyond what it has when it begins to
// ask (a plug-in that needs more counts as one that crashed).
inline constexpr size_t kPluginHostMemoryBytes = size_t{1} << 30;

// The host's side: answers the question and returns the exit code (0 once
// the answers are written).
int RunPluginHost();

class PluginProcessRunner : public PluginCallRunner {
public:
  // `program` is started as the host (this program by default). While
  // waiting, `wakeFd` (when not -1) is watched as well: when it can be
  // read, `ended` says whether the run ends, and if it does the host is
  // ended and PluginRunEnded thrown.
  explicit PluginProcessRunner(std::string program = "/proc/self/exe",
                               unsigned timeoutMs = kPluginAnswerTimeoutMs, int wakeFd = -1,
                               std::function<bool()> ended = {});

  PluginAnswers Ask(const PluginQuestion& question) override;

private:
  std::string program_;
  unsigned timeoutMs_;
  int wakeFd_;
  std::function<bool()> ended_;
};

}  // namespace tessivane::x11
