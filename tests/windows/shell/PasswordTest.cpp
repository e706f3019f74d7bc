// The saver's password check and where the system password libraries come
// from. A stand-in PASSWORD.CPL (FakeSystemLibrary.cpp) notes its loads and
// calls in a log file.
#include <gtest/gtest.h>

#include <stdexcept>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "base/Utf.h"

namespace tessivane::test {
namespace {

std::wstring SystemFolder() {
  wchar_t dir[MAX_PATH];
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  return std::wstring(dir, n);
}

// A copy of a file of the build in the system folder, for the test's life.
class SystemFile {
public:
  SystemFile(const char* hostPath, const wchar_t* name) : path_(SystemFolder() + L"\\" + name) {
    if (!CopyFileW(HostToWindowsPath(hostPath).c_str(), path_.c_str(), FALSE))
      throw std::runtime_error("cannot copy into the system folder");
  }
  ~SystemFile() { DeleteFileW(path_.c_str()); }

private:
  std::wstring path_;
};

void CopyInto(const TempFolder& folder, const char* hostPath, const wchar_t* name) {
  if (!CopyFileW(HostToWindowsPath(hostPath).c_str(), folder.File(name).c_str(), FALSE))
    throw std::runtime_error("cannot copy a test file");
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

class Password : public ::testing::Test {
protected:
  SaverProcess::Options LoggingOptions() {
    SaverProcess::Options options;
    options.extraEnvironment = {L"TESSIVANE_FAKE_LOG=" + log_, L"TESSIVANE_FAKE_ACCEPT=" + accept_};
    return options;
  }
  std::string Log() const { return ReadFileText(log_); }

  TempFolder folder_;
  std::wstring log_ = folder_.File(L"log.txt");
  std::wstring accept_ = folder_.File(L"accept");
};

TEST_F(Password, DwordSwitchAsksTheSystemCheckFromTheSystemFolder) {
  SystemFile cpl(TESSIVANE_FAKE_PASSWORD, L"PASSWORD.CPL");
  DWORD on = 1;
  RegistryValue use = UsePassword(REG_DWORD, &on, sizeof on);
  SaverProcess saver(L"/s", LoggingOptions());
  HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);

  PostClick(wnd, 300, 300);  // the check refuses: the saver stays
  PumpFor(kSettle);
  EXPECT_TRUE(saver.Running());
  const std::string log = Lower(Log());
  EXPECT_NE(log.find("loaded " + Lower(Narrow(SystemFolder())) + "\\password.cpl"), std::string::npos) << log;
  EXPECT_NE(log.find("verify"), std::string::npos) << log;

  ScopedKernelHandle acceptFile(
      CreateFileW(accept_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  PostKey(wnd, 'A');  // now it accepts
  EXPECT_TRUE(saver.WaitForExit(kExitBound));
}

TEST_F(Password, TextSwitchIsIgnored) {
  SystemFile cpl(TESSIVANE_FAKE_PASSWORD, L"PASSWORD.CPL");
  const wchar_t on[] = L"1";
  RegistryValue use = UsePassword(REG_SZ, on, sizeof on);
  SaverProcess saver(L"/s", LoggingOptions());
  HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  PostClick(wnd, 300, 300);
  EXPECT_TRUE(saver.WaitForExit(kExitBound));
  EXPECT_EQ(Log(), "");  // never loaded, never asked
}

// Copies named like the system's libraries in the program's folder and in
// the current folder are never loaded, not even to run their DllMain.
TEST_F(Password, PlantedLibrariesNeverRun) {
  {
    ScopedModule system(LoadLibraryExW(L"PASSWORD.CPL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (system) GTEST_SKIP() << "this system has its own PASSWORD.CPL";
  }
  TempFolder programFolder;
  TempFolder currentFolder;
  CopyInto(programFolder, TESSIVANE_SCR, L"Tessivane.scr");
  for (const TempFolder* planted : {&programFolder, &currentFolder}) {
    CopyInto(*planted, TESSIVANE_FAKE_PASSWORD, L"PASSWORD.CPL");
    CopyInto(*planted, TESSIVANE_FAKE_MPR, L"MPR.DLL");
  }
  DWORD on = 1;
  RegistryValue use = UsePassword(REG_DWORD, &on, sizeof on);
  SaverProcess::Options options = LoggingOptions();
  options.program = programFolder.File(L"Tessivane.scr");
  options.currentDirectory = currentFolder.Path();

  SaverProcess saver(L"/s", options);
  HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
  ASSERT_NE(wnd, nullptr);
  PostClick(wnd, 300, 300);  // no PASSWORD.CPL in the system folder: the saver closes
  EXPECT_TRUE(saver.WaitForExit(kExitBound));

  SaverProcess change(L"/a", options);
  if (!change.WaitForExit(kExitBound)) {
    // A system without the password-change entry shows the message.
    HWND box = change.WaitForWindow(L"#32770", kStartBound, L"エラー");
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(change.WaitForExit(kExitBound));
  }
  EXPECT_EQ(Log(), "");
}

}  // namespace
}  // namespace tessivane::test
