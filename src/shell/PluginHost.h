// Plug-ins run in a process of their own. A plug-in is foreign code: its
// DllMain may block while holding the system's loader lock, it may crash or
// end its process. So the saver and the settings dialog never load it
// themselves: they start this same program as a plug-in host, hand it the
// whole question in shared memory, and read all its answers from there once
// it has ended. The host is ended with the run, whatever it is doing, and a
// host that crashes, exits early or does not answer in time gives error 7
// naming the library.
#pragma once
#include <windows.h>

#include <string>

#include "pattern/PluginCalls.h"

namespace tessivane {

// The first argument that starts a plug-in host; the second is the handle
// of the shared memory that carries the question and the answers. No run
// mode is decided for such a start.
inline constexpr wchar_t kPluginHostSwitch[] = L"--plugin-host";

// The memory a host may take, committed or resident: 1 GiB. A conversation
// needs a few MiB (the program, the shared memory of under 0.4 MiB, the
// answers of the largest area, 256 KiB, and whatever tables a plug-in
// keeps for a 256 x 256 area), so no plug-in within the contract comes
// near it, while a plug-in that takes memory without end is stopped long
// before it starves the machine. The host's job holds it to this limit, and
// the saver ends a host seen above it; either way the answer is error 7.
inline constexpr size_t kPluginHostMemoryLimit = size_t{1} << 30;

// The host's side: answers the question in the shared memory named by
// mappingArgument and returns the process's exit code (0 once the answers
// are written). Crashes of the plug-in end the process quietly, without the
// system's crash dialog.
int RunPluginHost(const std::wstring& mappingArgument);

// The saver's side, installed while a window may ask a plug-in.
class PluginHostRunner : public PluginCallRunner {
public:
  // holdInputBack: the thread's windows are disabled while the host works
  // (as under a modal box), for a dialog whose buttons must not start a
  // second check; they still repaint. The saver window keeps its input,
  // since a key or click must end the run at any time.
  explicit PluginHostRunner(bool holdInputBack);

  // Starts the host, handles this thread's messages until it has answered,
  // and returns its answers; error 7 when the host could not start,
  // crashed, ended without answering or took longer than
  // kPluginAnswerTimeoutMs. When WM_QUIT comes first, the host is ended, the
  // quit message is posted again for the caller's loop and PluginRunEnded
  // is thrown.
  PluginAnswers Ask(const PluginQuestion& question) override;

private:
  bool holdInputBack_;
};

}  // namespace tessivane
