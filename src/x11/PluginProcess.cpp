#include "x11/PluginProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Errors.h"

namespace tessivane::x11 {
namespace {

using Clock = std::chrono::steady_clock;

// A file descriptor, closed with this object.
class OwnedFd {
public:
  explicit OwnedFd(int fd = -1) : fd_(fd) {}
  ~OwnedFd() { Reset(); }
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
  int Get() const { return fd_; }
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The whole content of a file from its start (its offset is shared with
// whoever wrote it); none when it holds more than `limit` bytes.
std::optional<std::string> ReadFromStart(int fd, size_t limit) {
  std::string bytes;
  char chunk[16384];
  for (;;) {
    const ssize_t n = pread(fd, chunk, sizeof chunk, static_cast<off_t>(bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return bytes;
    if (bytes.size() + static_cast<size_t>(n) > limit) return std::nullopt;
    bytes.append(chunk, static_cast<size_t>(n));
  }
}

// This process's address space in bytes (the first figure of statm, in pages).
size_t AddressSpace() {
  unsigned long pages = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// The children of this process, living or not: each process's parent is
// the fourth field of its stat line, after the name in parentheses.
std::vector<pid_t> Children() {
  std::vector<pid_t> children;
  std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), &closedir);
  if (!proc) return children;
  const pid_t self = getpid();
  while (const dirent* entry = readdir(proc.get())) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    char path[64], line[512];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
    FILE* stat = std::fopen(path, "re");
    if (!stat) continue;  // ended meanwhile
    const size_t n = std::fread(line, 1, sizeof line - 1, stat);
    std::fclose(stat);
    line[n] = '\0';
    const char* name = std::strrchr(line, ')');
    char state = 0;
    long parent = 0;
    if (name && std::sscanf(name + 1, " %c %ld", &state, &parent) == 2 && parent == self)
      children.push_back(static_cast<pid_t>(pid));
  }
  return children;
}

// Ends and reaps every child of this process. This process starts no
// children but plug-in hosts, and adopts what the plug-ins' processes leave
// (it is their subreaper), so each child left once the host has been reaped
// is a plug-in's. A child's own children come to this process when it
// ends, so the rounds go on until none is left (or none can be killed).
void EndPluginOrphans() {
  for (;;) {
    std::vector<pid_t> killed = Children();
    std::erase_if(killed, [](pid_t child) { return kill(child, SIGKILL) != 0; });
    if (killed.empty()) return;
    for (pid_t child : killed)
      while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
  }
}

// A started host, in a process group of its own that is killed and reaped
// when this goes, whatever it is doing, with every process that the
// plug-in started: this process is their subreaper, so a process that
// leaves the group (setsid) or loses its parent is still this process's
// descendant, and one whose host was killed outright comes to this
// process rather than to init. The host is killed too should this process
// end without unwinding.
class HostProcess {
public:
  HostProcess(const char* program, int questionFd, int answerFd) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    // Everything the child needs is made before the fork: a threaded
    // process may only make system calls between fork and exec.
    char* const argv[] = {const_cast<char*>("tessivane"), const_cast<char*>(kPluginHostSwitch), nullptr};
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      setpgid(0, 0);
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (getppid() != parent) _exit(127);
      // Above the two fixed numbers first, so that neither overwrites the other.
      const int q = fcntl(questionFd, F_DUPFD, 10);
      const int a = fcntl(answerFd, F_DUPFD, 10);
      if (q < 0 || a < 0 || dup2(q, kPluginQuestionFd) < 0 || dup2(a, kPluginAnswerFd) < 0) _exit(127);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      execv(program, argv);
      _exit(127);
    }
    if (pid_ > 0) setpgid(pid_, pid_);  // whichever of the two runs first
  }
  ~HostProcess() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);  // the group: whatever the plug-in started as well
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    EndPluginOrphans();
  }
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // Whether the host has ended, left unreaped (so its group can still be
  // killed); `answered` tells whether it ended with status 0.
  bool Ended(bool& answered) const {
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
    if (info.si_pid == 0) return false;
    answered = info.si_code == CLD_EXITED && info.si_status == 0;
    return true;
  }

private:
  pid_t pid_ = -1;
};

}  // namespace

int RunPluginHost() {
  try {
    std::optional<std::string> question = ReadFromStart(kPluginQuestionFd, kMaxPluginQuestionBytes);
    close(kPluginQuestionFd);
    if (!question) return 2;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0) {
      const rlim_t cap = AddressSpace() + kPluginHostMemoryBytes;
      limit.rlim_cur = limit.rlim_max = std::min<rlim_t>(cap, limit.rlim_max);
      setrlimit(RLIMIT_AS, &limit);
    }
    const std::string answers = ServePluginQuestion(*question);
    if (answers.empty() || !WriteAll(kPluginAnswerFd, answers)) return 2;
    return 0;
  } catch (...) {
    return 3;  // out of memory under the cap, most likely
  }
}

PluginProcessRunner::PluginProcessRunner(std::string program, unsigned timeoutMs, int wakeFd,
                                         std::function<bool()> ended)
    : program_(std::move(program)), timeoutMs_(timeoutMs), wakeFd_(wakeFd), ended_(std::move(ended)) {}

PluginAnswers PluginProcessRunner::Ask(const PluginQuestion& question) {
  const std::string questionBytes = EncodeQuestion(question);
  if (questionBytes.size() > kMaxPluginQuestionBytes) return PluginCallFailed(question);
  OwnedFd questionFd(memfd_create("tessivane-plugin-question", MFD_CLOEXEC));
  if (questionFd.Get() < 0 || !WriteAll(questionFd.Get(), questionBytes)) return PluginCallFailed(question);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return PluginCallFailed(question);
  OwnedFd readEnd(ends[0]), writeEnd(ends[1]);

  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
  HostProcess host(program_.c_str(), questionFd.Get(), writeEnd.Get());
  if (!host.Started()) return PluginCallFailed(question);
  writeEnd.Reset();  // the end of the answers is the host's end of the pipe closing

  std::string answerBytes;
  bool allRead = false, answered = false;
  char chunk[16384];
  for (;;) {
    if (allRead && host.Ended(answered)) break;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return PluginCallFailed(question);  // `host` ends it
    // Once the pipe has closed, the host's end is looked for every 10 ms.
    pollfd fds[2] = {{allRead ? -1 : readEnd.Get(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int timeout = static_cast<int>(allRead ? std::min<long long>(left, 10) : left);
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) return PluginCallFailed(question);
    if ((fds[1].revents & POLLIN) && ended_ && ended_()) throw PluginRunEnded();
    if (fds[0].revents == 0) continue;
    const ssize_t n = read(readEnd.Get(), chunk, sizeof chunk);
    if (n == 0) {
      allRead = true;
    } else if (n > 0) {
      if (answerBytes.size() + static_cast<size_t>(n) > kMaxPluginAnswerBytes)
        return PluginCallFailed(question);
      answerBytes.append(chunk, static_cast<size_t>(n));
    } else if (errno != EINTR) {
      return PluginCallFailed(question);
    }
  }
  if (!answered) return PluginCallFailed(question);
  std::optional<PluginAnswers> answers = DecodeAnswers(answerBytes, question);
  return answers ? std::move(*answers) : PluginCallFailed(question);
}

}  // namespace tessivane::x11
