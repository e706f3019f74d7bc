// The saver of the portable download as a user unpacks it: full screen it
// shows a pattern until a key ends it, and its settings dialog's help button
// opens the help page that lies beside it. TESSIVANE_PORTABLE_SCR names the
// unpacked Tessivane.scr (a Windows path).
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/Utf.h"
#include "dialogs/ControlIds.h"
#include "shell/SaverHarness.h"
#include "shell/SaverTimes.h"
#include "support/PageOpener.h"

namespace tessivane::test {
namespace {

SaverProcess::Options Portable() {
  SaverProcess::Options options;
  const char* saver = std::getenv("TESSIVANE_PORTABLE_SCR");
  if (saver) options.program = Widen(saver);
  return options;
}

TEST(Portable, RunsFullScreenWithAPatternUntilAKey) {
  SaverProcess saver(L"/s", Portable());
  const HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  bool pattern = false;
  for (int i = 0; i < 100 && !pattern; ++i) {
    PumpFor(100);
    pattern = !Capture(wnd).OneColour();
  }
  EXPECT_TRUE(pattern) << "the screen stays one colour";
  PostKey(wnd, 'A');
  ASSERT_TRUE(saver.WaitForExit(kExitBound));
  EXPECT_EQ(saver.ExitCode(), 0u);
}

TEST(Portable, HelpButtonOpensThePageBesideTheSaver) {
  SaverProcess::Options options = Portable();
  TempFolder folder;
  PageOpener opener(folder.File(L"opened.txt"));
  options.extraEnvironment.push_back(opener.Environment());
  SaverProcess settings(L"/c", options);
  const HWND dialog = settings.WaitForWindow(L"#32770", kStartBound, dialogs::SettingsCaption().c_str());
  ASSERT_NE(dialog, nullptr);
  const HWND help = GetDlgItem(dialog, dialogs::kIdHelpButton);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(dialogs::kIdHelpButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(help));
  // The shell hands the page over as a file URL, with forward slashes.
  std::string page = Narrow(options.program.substr(0, options.program.rfind(L'\\'))) + "/Tessivane.html";
  std::replace(page.begin(), page.end(), '\\', '/');
  std::string opened;
  for (int i = 0; i < 100 && opened.empty(); ++i) {
    PumpFor(50);
    opened = ReadFileText(folder.File(L"opened.txt"));
  }
  EXPECT_NE(opened.find(page), std::string::npos) << "opened: " << opened;
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(settings.WaitForExit(kExitBound));
}

}  // namespace
}  // namespace tessivane::test
