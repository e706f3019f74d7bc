// The plug-in host process, started from the built tessivane: it answers as
// the conversation in this process does, and a plug-in that crashes, ends
// its process, hangs or takes too much memory gives error 7 and leaves no
// process behind, also none that left the host's process group.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "x11/PluginProcess.h"

namespace tessivane::x11 {
namespace {

bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

// The processes anywhere whose environment holds `entry`.
int ProcessesWith(const std::string& entry) {
  int found = 0;
  for (const auto& process : std::filesystem::directory_iterator("/proc")) {
    std::ifstream in(process.path() / "environ", std::ios::binary);
    found += ('\0' + std::string(std::istreambuf_iterator<char>(in), {})).find('\0' + entry + '\0') !=
             std::string::npos;
  }
  return found;
}

TEST(PluginProcess, AnswersAsInThisProcessOrErrorSevenWithNoChildLeft) {
  struct Case {
    const char* script;
    bool hostLost;  // else the answers are those of the conversation in this process
  } cases[] = {
      {"", false},
      {"area=40x50 sym=4", false},
      {"bad=3,4:99,0", false},
      {"id=2 nosize", false},
      {"crash", true},
      {"exit", true},
      {"hang", true},
      {"eat", true},
      {"daemon hang", true},   // the host is ended
      {"daemon crash", true},  // the host ends itself
  };
  constexpr unsigned kTimeoutMs = 1000;
  PluginProcessRunner runner(TESSIVANE_PROGRAM, kTimeoutMs);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const std::string script = std::string(c.script) + " run=" + std::to_string(getpid());
    setenv("TESSIVANE_TEST_PLUGIN", script.c_str(), 1);
    for (auto kind : {PluginQuestion::Kind::kSetUp, PluginQuestion::Kind::kCheck}) {
      const PluginQuestion question{kind, TEST_PLUGIN_SCRIPTED, 64, 64, 0, 0};
      const auto start = std::chrono::steady_clock::now();
      const PluginAnswers answers = runner.Ask(question);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kTimeoutMs + 2000));
      EXPECT_EQ(answers, c.hostLost ? PluginCallFailed(question) : AskPlugin(question));
      EXPECT_TRUE(NoChildLeft());
      EXPECT_EQ(ProcessesWith("TESSIVANE_TEST_PLUGIN=" + script), 0);
    }
  }
  unsetenv("TESSIVANE_TEST_PLUGIN");
}

}  // namespace
}  // namespace tessivane::x11
