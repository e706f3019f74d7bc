#include "shell/PluginHost.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/ScopedWin.h"

namespace tessivane {

namespace {

// The shared memory: the question's size and bytes, then, at a fixed
// offset, the answers' size and bytes. The host writes the size last, so a
// host that dies while writing leaves size 0 and no answers.
constexpr size_t kQuestionAt = sizeof(uint32_t);
constexpr size_t kAnswerSizeAt = kQuestionAt + kMaxPluginQuestionBytes;
constexpr size_t kAnswerAt = kAnswerSizeAt + sizeof(uint32_t);
constexpr size_t kSharedBytes = kAnswerAt + kMaxPluginAnswerBytes;

uint32_t ReadSize(const char* view, size_t at) {
  uint32_t size = 0;
  std::memcpy(&size, view + at, sizeof size);
  return size;
}

void WriteSize(char* view, size_t at, uint32_t size) { std::memcpy(view + at, &size, sizeof size); }

// The plug-in's crash ends the host at once: no crash dialog, no debugger.
LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) {
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

// A started host: ended when this goes, whatever it is doing. The job ends
// it too should the saver itself end without unwinding, and holds its
// memory to kPluginHostMemoryLimit.
class HostProcess {
public:
  // Starts `program` as a host for the shared memory `mapping` (inherited).
  HostProcess(const std::wstring& program, HANDLE mapping) {
    job_.reset(CreateJobObjectW(nullptr, nullptr));
    if (job_) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
      limits.BasicLimitInformation.LimitFlags =
          JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_PROCESS_MEMORY;
      limits.ProcessMemoryLimit = kPluginHostMemoryLimit;
      if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
      }
      // The job reports here an allocation it refused at the limit.
      port_.reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
      JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job_.get(), port_.get()};
      if (port_ && !SetInformationJobObject(job_.get(), JobObjectAssociateCompletionPortInformation,
                                            &association, sizeof association))
        port_.reset();
    }
    std::wstring commandLine = L"\"" + program + L"\" " + kPluginHostSwitch + L" " +
                               std::to_wstring(reinterpret_cast<uintptr_t>(mapping));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;  // no busy cursor for a program without windows
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &info))
      return;
    process_.reset(info.hProcess);
    ScopedKernelHandle thread(info.hThread);
    if (job_) AssignProcessToJobObject(job_.get(), process_.get());
    ResumeThread(thread.get());
  }
  ~HostProcess() { End(); }
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  HANDLE Handle() const { return process_.get(); }
  void End() {
    if (process_) TerminateProcess(process_.get(), 1);
  }
  bool AnsweredAndEnded() const {
    DWORD code = 1;
    return GetExitCodeProcess(process_.get(), &code) && code == 0;
  }
  // Whether the host has reached its memory limit: its memory, committed or
  // resident, stands at the limit (not every system enforces the job's
  // limit), or the job has refused it an allocation there.
  bool ReachedMemoryLimit() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process_.get(), &counters, sizeof counters) &&
        std::max(counters.PagefileUsage, counters.WorkingSetSize) >= kPluginHostMemoryLimit)
      return true;
    DWORD message = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* detail = nullptr;
    while (port_ && GetQueuedCompletionStatus(port_.get(), &message, &key, &detail, 0))
      if (message == JOB_OBJECT_MSG_PROCESS_MEMORY_LIMIT) return true;
    return false;
  }

private:
  ScopedKernelHandle job_;
  ScopedKernelHandle port_;
  ScopedKernelHandle process_;
};

// Disables the thread's enabled, visible top-level windows for its lifetime
// and gives the focus back afterwards.
class InputHeldBack {
public:
  explicit InputHeldBack(bool active) {
    if (!active) return;
    focus_ = GetFocus();
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND wnd : disabled_) EnableWindow(wnd, FALSE);
  }
  ~InputHeldBack() {
    for (HWND wnd : disabled_)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
  }
  InputHeldBack(const InputHeldBack&) = delete;
  InputHeldBack& operator=(const InputHeldBack&) = delete;

private:
  static BOOL CALLBACK Collect(HWND wnd, LPARAM list) {
    if (IsWindowVisible(wnd) && IsWindowEnabled(wnd))
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
  }
  std::vector<HWND> disabled_;
  HWND focus_ = nullptr;
};

enum class Waited { kEnded, kTimedOut, kMemoryLimit };

// How often the host's memory is looked at while it works.
constexpr DWORD kMemoryWatchMs = 50;

// Handles this thread's messages until the host ends, the time is up or
// the host reaches its memory limit; throws PluginRunEnded when WM_QUIT
// comes first.
Waited WaitHandlingMessages(const HostProcess& host, DWORD timeoutMs) {
  HANDLE process = host.Handle();
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (host.ReachedMemoryLimit()) return Waited::kMemoryLimit;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return Waited::kTimedOut;
    const auto wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kMemoryWatchMs));
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &process, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return Waited::kEnded;
    if (woken == WAIT_FAILED) return Waited::kTimedOut;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        throw PluginRunEnded();
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

int RunPluginHost(const std::wstring& mappingArgument) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&EndQuietly);
  wchar_t* end = nullptr;
  const unsigned long long value = wcstoull(mappingArgument.c_str(), &end, 10);
  if (mappingArgument.empty() || *end != L'\0') return 2;
  ScopedMappedView view(MapViewOfFile(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)),
                                      FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kSharedBytes));
  if (!view) return 2;
  auto* shared = static_cast<char*>(view.get());
  const uint32_t questionSize = ReadSize(shared, 0);
  if (questionSize > kMaxPluginQuestionBytes) return 2;
  const std::string answers = ServePluginQuestion(std::string_view(shared + kQuestionAt, questionSize));
  if (answers.empty() || answers.size() > kMaxPluginAnswerBytes) return 2;
  std::memcpy(shared + kAnswerAt, answers.data(), answers.size());
  WriteSize(shared, kAnswerSizeAt, static_cast<uint32_t>(answers.size()));
  return 0;
}

PluginHostRunner::PluginHostRunner(bool holdInputBack) : holdInputBack_(holdInputBack) {}

PluginAnswers PluginHostRunner::Ask(const PluginQuestion& question) {
  const std::string questionBytes = EncodeQuestion(question);
  if (questionBytes.size() > kMaxPluginQuestionBytes) return PluginCallFailed(question);

  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  ScopedKernelHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                                static_cast<DWORD>(kSharedBytes), nullptr));
  if (!mapping) return PluginCallFailed(question);
  ScopedMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kSharedBytes));
  if (!view) return PluginCallFailed(question);
  auto* shared = static_cast<char*>(view.get());
  WriteSize(shared, 0, static_cast<uint32_t>(questionBytes.size()));
  std::memcpy(shared + kQuestionAt, questionBytes.data(), questionBytes.size());

  HostProcess host(ProgramPath(), mapping.get());
  if (!host.Started()) return PluginCallFailed(question);
  {
    InputHeldBack heldBack(holdInputBack_);
    if (WaitHandlingMessages(host, kPluginAnswerTimeoutMs) != Waited::kEnded)
      return PluginCallFailed(question);  // `host` ends it
  }
  if (!host.AnsweredAndEnded() || host.ReachedMemoryLimit()) return PluginCallFailed(question);
  const uint32_t answerSize = ReadSize(shared, kAnswerSizeAt);
  if (answerSize > kMaxPluginAnswerBytes) return PluginCallFailed(question);
  std::optional<PluginAnswers> answers =
      DecodeAnswers(std::string_view(shared + kAnswerAt, answerSize), question);
  return answers ? std::move(*answers) : PluginCallFailed(question);
}

}  // namespace tessivane
