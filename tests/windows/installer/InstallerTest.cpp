// The installer Tessivane-Setup-<version>.exe in a Wine prefix of its own:
// what a silent install puts where, that the installed saver runs, and what
// the uninstaller removes and keeps. Runs in a fresh prefix (see
// in-fresh-prefix), since it writes the system folder and HKLM.
#include <windows.h>
// These need the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "TessivaneVersion.h"
#include "base/ScopedWin.h"
#include "base/Utf.h"
#include "dialogs/ControlIds.h"
#include "settings/SettingsStore.h"
#include "shell/SaverHarness.h"
#include "shell/SaverTimes.h"

namespace tessivane::test {
namespace {

constexpr DWORD kInstallBound = 60000;
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessivane";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kCurrentSaver[] = L"SCRNSAVE.EXE";

bool On64BitWindows() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// The 32-bit system folder by its real name: SysWOW64 on 64-bit Windows.
std::wstring SaverFolder() {
  wchar_t path[MAX_PATH] = {};
  if (GetSystemWow64DirectoryW(path, MAX_PATH) == 0) GetSystemDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring InstalledSaver() { return SaverFolder() + L"\\Tessivane.scr"; }
std::wstring InstalledHelp() { return SaverFolder() + L"\\Tessivane.html"; }
std::wstring InstalledNotices() { return SaverFolder() + L"\\Tessivane-THIRD-PARTY-NOTICES.txt"; }

std::wstring UninstallerFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\Tessivane";
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether the 64-bit system folder (System32 as 64-bit programs see it)
// holds a file of this name.
bool InNative64BitSystemFolder(const wchar_t* name) {
  PVOID redirection = nullptr;
  if (!Wow64DisableWow64FsRedirection(&redirection)) return false;
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  const bool found = FileExists(std::wstring(path) + L"\\" + name);
  Wow64RevertWow64FsRedirection(redirection);
  return found;
}

bool KeyExists(HKEY root, const std::wstring& key, REGSAM view = 0) {
  HKEY opened = nullptr;
  const bool exists = RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &opened) == ERROR_SUCCESS;
  ScopedKey owner(opened);
  return exists;
}

// A value of the given type (RRF_RT_...) in a registry view (KEY_WOW64_32KEY, ...).
bool ReadValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view, DWORD type, void* data,
               DWORD size) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  ScopedKey owner(opened);
  return RegGetValueW(opened, nullptr, name, type, nullptr, data, &size) == ERROR_SUCCESS;
}

std::optional<std::wstring> TextValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
  wchar_t text[2048] = {};
  if (!ReadValue(root, key, name, view, RRF_RT_REG_SZ, text, sizeof text)) return std::nullopt;
  return std::wstring(text);
}

std::optional<DWORD> NumberValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view) {
  DWORD number = 0;
  if (!ReadValue(root, key, name, view, RRF_RT_REG_DWORD, &number, sizeof number)) return std::nullopt;
  return number;
}

void SetCurrentSaver(const std::wstring& path) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver, REG_SZ, path.c_str(),
                  static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> CurrentSaver() {
  return TextValue(HKEY_CURRENT_USER, kDesktopKey, kCurrentSaver);
}

// Runs a program to its end; its exit code, or nothing when it outlives the bound.
std::optional<DWORD> RunToEnd(const std::wstring& program, const std::wstring& arguments) {
  SaverProcess::Options options;
  options.program = program;
  SaverProcess process(arguments, options);
  if (!process.WaitForExit(kInstallBound)) return std::nullopt;
  return process.ExitCode();
}

std::wstring InstallerPath() { return HostToWindowsPath(TESSIVANE_INSTALLER); }

std::optional<DWORD> Install(const std::wstring& arguments = L"/S") {
  return RunToEnd(InstallerPath(), arguments);
}

// The uninstaller deletes in a copy of itself that it starts in the
// background; run from a copy elsewhere with _?= it works in place and
// returns when it is done.
std::optional<DWORD> Uninstall(const std::wstring& arguments = L"/S") {
  TempFolder temp;
  const std::wstring copy = temp.File(L"uninstall.exe");
  if (!CopyFileW((UninstallerFolder() + L"\\uninstall.exe").c_str(), copy.c_str(), FALSE))
    return std::nullopt;
  return RunToEnd(copy, arguments + L" _?=" + UninstallerFolder());
}

class Installer : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(FileExists(InstallerPath())) << Narrow(InstallerPath()); }
  // Whatever a failed test left installed goes, settings included.
  void TearDown() override {
    if (FileExists(UninstallerFolder() + L"\\uninstall.exe")) Uninstall(L"/S /REMOVESETTINGS");
    DeleteProductKey();
  }
};

TEST_F(Installer, SilentInstallPutsTheSaverInThe32BitSystemFolderAndListsItInTheProgramsOf32BitView) {
  const std::wstring otherSaver = L"C:\\windows\\system32\\other.scr";
  SetCurrentSaver(otherSaver);

  ASSERT_EQ(Install(), 0u);

  // The very program and help page of this build, side by side.
  ASSERT_TRUE(FileExists(InstalledSaver()));
  EXPECT_TRUE(ReadFileText(InstalledSaver()) == ReadFileText(SaverPath()));
  EXPECT_TRUE(FileExists(InstalledHelp()));
  EXPECT_TRUE(ReadFileText(InstalledNotices()) == ReadFileText(HostToWindowsPath(TESSIVANE_NOTICES)));
  if (On64BitWindows()) {
    EXPECT_FALSE(InNative64BitSystemFolder(L"Tessivane.scr"));
    EXPECT_FALSE(InNative64BitSystemFolder(L"Tessivane.html"));
  }
  EXPECT_TRUE(FileExists(UninstallerFolder() + L"\\uninstall.exe"));

  auto text = [&](const wchar_t* name) {
    return TextValue(HKEY_LOCAL_MACHINE, kUninstallKey, name, KEY_WOW64_32KEY);
  };
  EXPECT_EQ(text(L"DisplayName"), L"Tessivane");
  EXPECT_EQ(text(L"DisplayVersion"), Widen(TESSIVANE_VERSION_TEXT));
  EXPECT_EQ(text(L"Publisher"), L"Qel");
  EXPECT_EQ(text(L"DisplayIcon"), InstalledSaver() + L",0");
  const std::wstring uninstaller = L"\"" + UninstallerFolder() + L"\\uninstall.exe\"";
  EXPECT_EQ(text(L"UninstallString"), uninstaller);
  EXPECT_EQ(text(L"QuietUninstallString"), uninstaller + L" /S");
  EXPECT_EQ(NumberValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify", KEY_WOW64_32KEY), 1u);
  EXPECT_EQ(NumberValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoRepair", KEY_WOW64_32KEY), 1u);
  // In KiB: at least the saver itself, at most a few times its size.
  WIN32_FILE_ATTRIBUTE_DATA saverData{};
  ASSERT_TRUE(GetFileAttributesExW(InstalledSaver().c_str(), GetFileExInfoStandard, &saverData));
  const auto size = NumberValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", KEY_WOW64_32KEY);
  ASSERT_TRUE(size.has_value());
  EXPECT_GE(*size, saverData.nFileSizeLow / 1024);
  EXPECT_LE(*size, 4 * saverData.nFileSizeLow / 1024);
  if (On64BitWindows()) {
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
  }

  // A silent install leaves the user's choice of screen saver alone.
  EXPECT_EQ(CurrentSaver(), otherSaver);
}

TEST_F(Installer, ActivateSwitchMakesItTheCurrentSaverAndUninstallClearsOnlyThatChoice) {
  SetCurrentSaver(L"C:\\windows\\system32\\other.scr");
  ASSERT_EQ(Install(L"/S /ACTIVATE"), 0u);
  EXPECT_EQ(CurrentSaver(), InstalledSaver());
  EXPECT_EQ(TextValue(HKEY_CURRENT_USER, kDesktopKey, L"ScreenSaveActive"), L"1");
  ASSERT_EQ(Uninstall(), 0u);
  EXPECT_EQ(CurrentSaver(), std::nullopt);

  // Chosen by its short (8.3) name, as older settings write it.
  ASSERT_EQ(Install(L"/S /ACTIVATE"), 0u);
  wchar_t shortPath[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameW(InstalledSaver().c_str(), shortPath, MAX_PATH), 0u);
  SetCurrentSaver(shortPath);
  ASSERT_EQ(Uninstall(), 0u);
  EXPECT_EQ(CurrentSaver(), std::nullopt);

  // Another saver chosen after the install stays chosen.
  ASSERT_EQ(Install(L"/S /ACTIVATE"), 0u);
  const std::wstring laterChoice = L"C:\\windows\\system32\\later.scr";
  SetCurrentSaver(laterChoice);
  ASSERT_EQ(Uninstall(), 0u);
  EXPECT_EQ(CurrentSaver(), laterChoice);
}

TEST_F(Installer, InstalledSaverRunsFullScreenAndOpensItsSettings) {
  ASSERT_EQ(Install(), 0u);
  SaverProcess::Options options;
  options.program = InstalledSaver();
  {
    SaverProcess saver(L"/s", options);
    const HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(saver.WaitForWindow(L"#32770", kSettle), nullptr) << "an error box";
    PostKey(wnd, 'A');
    ASSERT_TRUE(saver.WaitForExit(kExitBound));
    EXPECT_EQ(saver.ExitCode(), 0u);
  }
  {
    SaverProcess settings(L"/c", options);
    const HWND dialog = settings.WaitForWindow(L"#32770", kStartBound, dialogs::SettingsCaption().c_str());
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(settings.WaitForExit(kExitBound));
  }
}

TEST_F(Installer, ReinstallReplacesARunningSaverAndFailsOnAFileItCannotReplace) {
  ASSERT_EQ(Install(), 0u);
  {
    ScopedKernelHandle file(CreateFileW(InstalledHelp().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.get() != INVALID_HANDLE_VALUE);
  }
  {
    // Over a saver whose settings dialog is open.
    SaverProcess::Options options;
    options.program = InstalledSaver();
    SaverProcess settings(L"/c", options);
    ASSERT_NE(settings.WaitForWindow(L"#32770", kStartBound, dialogs::SettingsCaption().c_str()), nullptr);
    ASSERT_EQ(Install(), 0u);
  }
  EXPECT_TRUE(ReadFileText(InstalledHelp()) == ReadFileText(HostToWindowsPath(TESSIVANE_HELP)));
  EXPECT_TRUE(ReadFileText(InstalledSaver()) == ReadFileText(SaverPath()));

  // Held open with no sharing: neither replaced nor moved aside, so the
  // install fails rather than leave the old file and report success.
  ScopedKernelHandle held(CreateFileW(InstalledHelp().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.get() != INVALID_HANDLE_VALUE);
  const auto exitCode = Install();
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_NE(*exitCode, 0u);
}

TEST_F(Installer, SilentUninstallRemovesWhatTheInstallMadeAndKeepsTheSettings) {
  ASSERT_EQ(Install(L"/S /ACTIVATE"), 0u);
  PutSetting("Settings", "Size", L"16");

  ASSERT_EQ(Uninstall(), 0u);

  EXPECT_FALSE(FileExists(InstalledSaver()));
  EXPECT_FALSE(FileExists(InstalledHelp()));
  EXPECT_FALSE(FileExists(InstalledNotices()));
  EXPECT_FALSE(FileExists(UninstallerFolder()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY));
  EXPECT_EQ(CurrentSaver(), std::nullopt);
  EXPECT_EQ(Setting("Settings", "Size"), L"16");
}

TEST_F(Installer, RemoveSettingsSwitchAlsoRemovesTheSettingsAndTheEmptyMakerKey) {
  ASSERT_EQ(Install(), 0u);
  PutSetting("Settings", "Size", L"16");
  PutSetting("BGM", "FileName", L"C:\\music.wav");

  ASSERT_EQ(Uninstall(L"/S /REMOVESETTINGS"), 0u);

  EXPECT_FALSE(FileExists(InstalledSaver()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Widen(kProductKeyPath)));
  const std::wstring productKey = Widen(kProductKeyPath);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, productKey.substr(0, productKey.rfind(L'\\'))));
}

// The tree view of the components page: whether each item's box is ticked.
std::vector<bool> ComponentTicks(HWND page) {
  std::vector<bool> ticks;
  const HWND tree = FindWindowExW(page, nullptr, WC_TREEVIEWW, nullptr);
  if (!tree) return ticks;
  for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
       item = reinterpret_cast<HTREEITEM>(
           SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    const auto state = static_cast<UINT>(
        SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
    // State images: 1 unticked, 2 ticked, 3 partly; the read-only ones follow.
    const UINT image = (state & TVIS_STATEIMAGEMASK) >> 12;
    ticks.push_back(image == 2 || image == 5);
  }
  return ticks;
}

// The ticks of the components page of an installer or uninstaller window,
// once the page shows the expected number of components.
std::vector<bool> WaitForComponentTicks(HWND wnd, size_t count) {
  std::vector<bool> ticks;
  const ULONGLONG end = GetTickCount64() + kStartBound;
  while (GetTickCount64() < end) {
    if (const HWND page = FindWindowExW(wnd, nullptr, L"#32770", nullptr)) {
      ticks = ComponentTicks(page);
      if (ticks.size() == count) break;
    }
    PumpFor(100);
  }
  return ticks;
}

bool SystemLanguageIsJapanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

TEST_F(Installer, InteractiveInstallSpeaksTheSystemLanguageAndOffersToBecomeTheCurrentSaver) {
  SaverProcess::Options options;
  options.program = InstallerPath();
  SaverProcess installer(L"", options);
  const HWND wnd = installer.WaitForWindow(L"#32770", kStartBound);
  ASSERT_NE(wnd, nullptr);
  // The language files' caption ("Tessivane Setup", "Tessivane セットアップ ").
  const bool japanese = SystemLanguageIsJapanese();
  const std::wstring caption = WindowText(wnd);
  RecordProperty("caption", Narrow(caption));
  EXPECT_EQ(caption.rfind(L"Tessivane ", 0), 0u) << Narrow(caption);
  EXPECT_NE(caption.find(japanese ? L"セットアップ" : L"Setup"), std::wstring::npos) << Narrow(caption);

  // The components page: the saver (fixed) and "use as my screen saver", both ticked.
  const std::vector<bool> ticks = WaitForComponentTicks(wnd, 2);
  ASSERT_EQ(ticks.size(), 2u);
  EXPECT_TRUE(ticks[0]);
  EXPECT_TRUE(ticks[1]);
}

TEST_F(Installer, InteractiveUninstallOffersToRemoveTheSettingsUnticked) {
  ASSERT_EQ(Install(), 0u);
  TempFolder temp;
  SaverProcess::Options options;
  options.program = temp.File(L"uninstall.exe");
  ASSERT_TRUE(CopyFileW((UninstallerFolder() + L"\\uninstall.exe").c_str(), options.program.c_str(), FALSE));
  SaverProcess uninstaller(L"_?=" + UninstallerFolder(), options);
  const HWND wnd = uninstaller.WaitForWindow(L"#32770", kStartBound);
  ASSERT_NE(wnd, nullptr);
  const std::wstring caption = WindowText(wnd);
  EXPECT_NE(caption.find(SystemLanguageIsJapanese() ? L"アンインストール" : L"Uninstall"), std::wstring::npos)
      << Narrow(caption);

  // The saver (fixed, ticked), then "remove my settings", unticked.
  const std::vector<bool> ticks = WaitForComponentTicks(wnd, 2);
  ASSERT_EQ(ticks.size(), 2u);
  EXPECT_TRUE(ticks[0]);
  EXPECT_FALSE(ticks[1]);
}

}  // namespace
}  // namespace tessivane::test
