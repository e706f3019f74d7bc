// The settings run of the real Tessivane.scr (/c) as the dialog tests see
// it: the process, its settings dialog and, on demand, the method options
// dialog opened from it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/ControlIds.h"
#include "shell/SaverHarness.h"
#include "shell/SaverTimes.h"
#include "support/RemoteDialog.h"

namespace tessivane::test {

// How long a test waits for a box or a dialog that it expects, and how
// long it watches for one that must not come.
constexpr DWORD kBoxBound = 10000;
constexpr DWORD kNoBoxWatch = 1200;

class DialogSession {
public:
  explicit DialogSession(const SaverProcess::Options& options = {}, const std::wstring& arguments = L"/c")
      : process_(arguments, options) {
    settings_ = WaitForTopWindow(process_.Id(), dialogs::kDialogClassName, dialogs::SettingsCaption().c_str(),
                                 kStartBound);
  }

  SaverProcess& Process() { return process_; }
  HWND Settings() const { return settings_; }
  HWND Options() const { return options_; }
  // A control of the settings dialog (or of the options dialog once open).
  HWND Item(int id) const { return Control(settings_, id); }
  HWND OptionsItem(int id) const { return Control(options_, id); }

  // Presses a button and waits for the message box it raises.
  MessageBoxSeen ClickForBox(HWND button) {
    ClickAsync(button);
    return WaitForMessageBox(process_.Id(), kBoxBound, OwnDialogs());
  }
  // True when the button raises no message box within the watch time and
  // its work has ended (the dialog, held back while a plug-in is checked,
  // takes input again or is gone).
  bool ClickRaisesNoBox(HWND button) {
    ClickAsync(button);
    MessageBoxSeen box = WaitForMessageBox(process_.Id(), kNoBoxWatch, OwnDialogs());
    if (box) box.Answer();
    for (DWORD waited = 0; waited < kBoxBound && IsWindow(settings_) && !IsWindowEnabled(settings_);
         waited += 50)
      Sleep(50);
    return !box;
  }
  // Any message box of the process that shows within ms.
  MessageBoxSeen Box(DWORD ms) { return WaitForMessageBox(process_.Id(), ms, OwnDialogs()); }

  // Opens the method options dialog with the details button.
  HWND OpenOptions() {
    ClickAsync(Item(dialogs::kIdDetailsButton));
    return WaitForOptions();
  }
  // Waits for the method options dialog (after a box that came first).
  HWND WaitForOptions() {
    options_ = WaitForTopWindow(process_.Id(), dialogs::kDialogClassName, dialogs::OptionsCaption().c_str(),
                                kStartBound);
    return options_;
  }
  // A dialog of the process other than the two above (a file dialog, the
  // folder browser) that shows within ms.
  HWND WaitForOtherDialog(DWORD ms) {
    return WaitForTopWindow(process_.Id(), dialogs::kDialogClassName, nullptr, ms, nullptr, OwnDialogs());
  }

  bool Ended() { return process_.WaitForExit(kExitBound); }

private:
  std::vector<HWND> OwnDialogs() const {
    std::vector<HWND> own{settings_};
    if (options_ && IsWindow(options_)) own.push_back(options_);
    return own;
  }

  SaverProcess process_;
  HWND settings_ = nullptr;
  HWND options_ = nullptr;
};

// Every dialog test starts from an empty store and leaves none behind.
class DialogTest : public ::testing::Test {
protected:
  void SetUp() override { DeleteProductKey(); }
  void TearDown() override {
    session_.reset();
    DeleteProductKey();
  }
  // Starts the settings run and checks that its dialog is up; call it
  // inside ASSERT_NO_FATAL_FAILURE.
  void Open(const SaverProcess::Options& options = {}) {
    session_.emplace(options);
    ASSERT_NE(session_->Settings(), nullptr) << "the settings dialog did not appear";
  }
  DialogSession& Session() { return *session_; }
  HWND Item(int id) const { return session_->Item(id); }

  std::optional<DialogSession> session_;
};

}  // namespace tessivane::test
