#include "dialogs/FolderPicker.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "base/FileSystem.h"
#include "base/Utf.h"

namespace tessivane::dialogs {

namespace {

// COM for this thread, as the shell's browser needs it (an apartment that
// is already there stays as it is).
class ComApartment {
public:
  ComApartment()
      : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

private:
  bool initialised_;
};

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};

// The item of a path, parsed by the desktop folder; empty on failure.
ItemList ParsePath(HWND owner, const std::wstring& path) {
  IShellFolder* desktopRaw = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktopRaw)) || !desktopRaw) return {};
  std::unique_ptr<IShellFolder, Release> desktop(desktopRaw);
  std::wstring name = path;  // ParseDisplayName takes a writable string
  ITEMIDLIST* item = nullptr;
  if (FAILED(desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr, &item, nullptr))) return {};
  return ItemList(item);
}

// Disables the thread's other enabled top-level windows and enables them
// again when it goes. The owner is left to the browser, which disables it
// as a modal dialog does.
class OtherWindowsDisabled {
public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Note, reinterpret_cast<LPARAM>(this));
    for (HWND wnd : disabled_) EnableWindow(wnd, FALSE);
  }
  ~OtherWindowsDisabled() {
    for (HWND wnd : disabled_) {
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    }
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
  static BOOL CALLBACK Note(HWND wnd, LPARAM self) {
    auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (wnd != me->owner_ && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) me->disabled_.push_back(wnd);
    return TRUE;
  }
  HWND owner_;
  std::vector<HWND> disabled_;
};

// No "insert a disk" or "drive not ready" boxes while browsing.
class CriticalErrorBoxesOff {
public:
  CriticalErrorBoxesOff() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~CriticalErrorBoxesOff() { SetErrorMode(previous_); }
  CriticalErrorBoxesOff(const CriticalErrorBoxesOff&) = delete;
  CriticalErrorBoxesOff& operator=(const CriticalErrorBoxesOff&) = delete;

private:
  UINT previous_;
};

// Selects the preselected folder once the browser is up.
int CALLBACK Preselect(HWND browser, UINT message, LPARAM, LPARAM folder) {
  if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
  return 0;
}

}  // namespace

bool PickFolder(HWND owner, const std::wstring& title, const std::wstring& root, std::wstring& folder) {
  if (!FolderExists(Narrow(folder))) folder.clear();
  ComApartment com;
  ItemList rootItem = root.empty() ? ItemList() : ParsePath(owner, root);
  std::wstring displayName(MAX_PATH, L'\0');

  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = rootItem.get();
  info.pszDisplayName = displayName.data();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!folder.empty()) {
    info.lpfn = &Preselect;
    info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
  }

  ItemList chosen;
  {
    OtherWindowsDisabled disabled(owner);
    CriticalErrorBoxesOff noBoxes;
    chosen.reset(SHBrowseForFolderW(&info));
  }
  if (!chosen) return false;
  std::wstring path(MAX_PATH, L'\0');
  if (!SHGetPathFromIDListW(chosen.get(), path.data())) return false;
  path.resize(wcslen(path.c_str()));
  folder = path;
  return true;
}

}  // namespace tessivane::dialogs
