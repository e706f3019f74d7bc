#include "support/RemoteDialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <utility>

#include "shell/SaverHarness.h"

namespace tessivane::test {

namespace {

constexpr UINT kSendBound = 5000;  // ms for one message to another process

LRESULT Send(HWND wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(wnd, message, wParam, lParam, SMTO_NORMAL, kSendBound, &result)) return 0;
  return static_cast<LRESULT>(result);
}

bool HasClass(HWND wnd, const wchar_t* className) {
  wchar_t name[256] = {};
  GetClassNameW(wnd, name, 256);
  return wcscmp(name, className) == 0;
}

struct ChildSearch {
  int id;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK FindChild(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (search->className ? HasClass(wnd, search->className) : GetDlgCtrlID(wnd) == search->id) {
    search->found = wnd;
    return FALSE;
  }
  return TRUE;
}

struct TopSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  HWND owner;
  const std::vector<HWND>* except;
  HWND found;
};

BOOL CALLBACK FindTop(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<TopSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(wnd, &processId);
  if (processId != search->processId || !IsWindowVisible(wnd)) return TRUE;
  for (HWND skip : *search->except)
    if (skip == wnd) return TRUE;
  if (!HasClass(wnd, search->className)) return TRUE;
  if (search->owner && GetWindow(wnd, GW_OWNER) != search->owner) return TRUE;
  if (search->caption && WindowText(wnd) != search->caption) return TRUE;
  search->found = wnd;
  return FALSE;
}

}  // namespace

RemoteMemory::RemoteMemory(HANDLE process, size_t size) : process_(process) {
  address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!address_) throw std::runtime_error("VirtualAllocEx failed: " + std::to_string(GetLastError()));
}

RemoteMemory::~RemoteMemory() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

RemoteMemory::RemoteMemory(RemoteMemory&& other) noexcept
    : process_(other.process_), address_(std::exchange(other.address_, nullptr)) {}

void RemoteMemory::Write(const void* data, size_t size, size_t offset) {
  SIZE_T written = 0;
  if (!WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) ||
      written != size)
    throw std::runtime_error("WriteProcessMemory failed");
}

void RemoteMemory::Read(void* data, size_t size, size_t offset) const {
  SIZE_T read = 0;
  if (!ReadProcessMemory(process_, static_cast<const char*>(address_) + offset, data, size, &read) ||
      read != size)
    throw std::runtime_error("ReadProcessMemory failed");
}

void Settle(HWND wnd) {
  Send(wnd, WM_NULL);
  PumpFor(30);
  Send(wnd, WM_NULL);
}

ScopedKernelHandle OpenWindowProcess(HWND wnd) {
  DWORD processId = 0;
  GetWindowThreadProcessId(wnd, &processId);
  ScopedKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                  FALSE, processId));
  if (!process) throw std::runtime_error("OpenProcess failed: " + std::to_string(GetLastError()));
  return process;
}

HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD ms, HWND owner,
                      const std::vector<HWND>& except) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    TopSearch search{processId, className, caption, owner, &except, nullptr};
    EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount64() >= end) return nullptr;
    PumpFor(20);
  }
}

HWND Control(HWND root, int id) {
  if (!root) return nullptr;
  if (HWND direct = GetDlgItem(root, id)) return direct;
  ChildSearch search{id, nullptr, nullptr};
  EnumChildWindows(root, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Descendant(HWND root, const wchar_t* className) {
  if (!root) return nullptr;
  ChildSearch search{0, className, nullptr};
  EnumChildWindows(root, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

struct TextSearch {
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK FindText(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<TextSearch*>(param);
  if (Text(wnd) != *search->text) return TRUE;
  search->found = wnd;
  return FALSE;
}

}  // namespace

HWND DescendantWithText(HWND root, const std::wstring& text) {
  if (!root) return nullptr;
  TextSearch search{&text, nullptr};
  EnumChildWindows(root, &FindText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitForWindowGone(HWND wnd, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (!IsWindow(wnd) || !IsWindowVisible(wnd)) return true;
    if (GetTickCount64() >= end) return false;
    PumpFor(20);
  }
}

std::wstring Text(HWND control) {
  const LRESULT length = Send(control, WM_GETTEXTLENGTH);
  std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
  const LRESULT copied = Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

void SetText(HWND control, const std::wstring& text) {
  Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Enabled(HWND control) { return control && IsWindowEnabled(control); }

bool Checked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

HWND FocusedWindow(HWND anyWindowOfTheThread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfTheThread, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void FocusControl(HWND dialog, HWND control) {
  Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  Settle(dialog);
}

void Click(HWND button) {
  Send(button, BM_CLICK);
  Settle(button);
}

void ClickAsync(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void SelectComboItem(HWND combo, int index) {
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
  Send(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
       reinterpret_cast<LPARAM>(combo));
}

int ComboSelection(HWND combo) { return static_cast<int>(Send(combo, CB_GETCURSEL)); }

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(Send(combo, CB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
    if (length < 0 || length > 1000) break;
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    items.push_back(item);
  }
  return items;
}

int ScrollPosition(HWND bar) { return static_cast<int>(Send(bar, SBM_GETPOS)); }

void SetScrollPosition(HWND bar, int position) {
  Send(bar, SBM_SETPOS, static_cast<WPARAM>(position), TRUE);
  const HWND parent = GetParent(bar);
  Send(parent, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position)),
       reinterpret_cast<LPARAM>(bar));
  Send(parent, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
}

void SelectTab(HWND tabs, int index) {
  Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index));
  Settle(tabs);
}

int SelectedTab(HWND tabs) { return static_cast<int>(Send(tabs, TCM_GETCURSEL)); }

int ListItemCount(HWND list) { return static_cast<int>(Send(list, LVM_GETITEMCOUNT)); }

std::wstring ListItemText(HWND list, int item) {
  constexpr int kChars = 260;
  ScopedKernelHandle process = OpenWindowProcess(list);
  RemoteMemory memory(process.get(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  LVITEMW request{};
  request.iSubItem = 0;
  request.cchTextMax = kChars;
  request.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory.Address()) + sizeof(LVITEMW));
  memory.Write(&request, sizeof request);
  const LRESULT length = Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), memory.AsParam());
  std::wstring text(kChars, L'\0');
  memory.Read(text.data(), kChars * sizeof(wchar_t), sizeof(LVITEMW));
  text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(length, kChars - 1))));
  return text;
}

bool ListItemChecked(HWND list, int item) {
  const LRESULT state = Send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void SetListItemChecked(HWND list, int item, bool checked) {
  ScopedKernelHandle process = OpenWindowProcess(list);
  RemoteMemory memory(process.get(), sizeof(LVITEMW));
  LVITEMW change{};
  change.stateMask = LVIS_STATEIMAGEMASK;
  change.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  memory.Write(&change, sizeof change);
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), memory.AsParam());
  Settle(list);
}

void SelectListItem(HWND list, int item) {
  ScopedKernelHandle process = OpenWindowProcess(list);
  RemoteMemory memory(process.get(), sizeof(LVITEMW));
  LVITEMW change{};
  change.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  change.state = LVIS_SELECTED | LVIS_FOCUSED;
  memory.Write(&change, sizeof change);
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), memory.AsParam());
  Settle(list);
}

int FindListItem(HWND list, const std::wstring& part) {
  const int count = ListItemCount(list);
  for (int i = 0; i < count; ++i)
    if (ListItemText(list, i).find(part) != std::wstring::npos) return i;
  return -1;
}

RemoteMemory DropFiles(HWND target, const std::vector<std::wstring>& paths) {
  if (paths.empty()) throw std::invalid_argument("a drop names at least one file");
  std::vector<wchar_t> names;
  for (const std::wstring& path : paths)
    names.insert(names.end(), path.c_str(), path.c_str() + path.size() + 1);
  names.push_back(L'\0');
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  ScopedKernelHandle process = OpenWindowProcess(target);
  RemoteMemory memory(process.get(), sizeof header + names.size() * sizeof(wchar_t));
  memory.Write(&header, sizeof header);
  memory.Write(names.data(), names.size() * sizeof(wchar_t), sizeof header);
  PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory.Address()), 0);
  Settle(target);
  return memory;
}

void ConfirmOpenFileDialog(HWND dialog, const std::wstring& path) {
  // The name box: an Edit inside a ComboBox inside the ComboBoxEx32 0x47c
  // (an older layout has the Edit or ComboBox directly).
  HWND edit = nullptr;
  if (HWND nameBox = Control(dialog, 0x47c)) {
    edit = HasClass(nameBox, L"Edit") ? nameBox : Descendant(nameBox, L"Edit");
  }
  if (!edit) throw std::runtime_error("the open-file dialog has no file name box");
  SetText(edit, path);
  // IDOK of the dialog itself, not the deeper list view that has id 1 too.
  ClickAsync(GetDlgItem(dialog, IDOK));
}

void ConfirmFolderBrowser(HWND browser, const std::wstring& folder) {
  ScopedKernelHandle process = OpenWindowProcess(browser);
  RemoteMemory path(process.get(), (folder.size() + 1) * sizeof(wchar_t));
  path.Write(folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
  Send(browser, BFFM_SETSELECTIONW, TRUE, path.AsParam());
  Settle(browser);
  ClickAsync(GetDlgItem(browser, IDOK));
  WaitForWindowGone(browser, kSendBound);
}

void MessageBoxSeen::Answer(int button) const {
  const HWND owner = GetWindow(box, GW_OWNER);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  WaitForWindowGone(box, kSendBound);
  // What the owner does once the box has returned (focus a control, close).
  if (owner) Settle(owner);
}

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD ms, const std::vector<HWND>& except) {
  const ULONGLONG end = GetTickCount64() + ms;
  std::vector<HWND> passed = except;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const HWND box = WaitForTopWindow(processId, L"#32770", nullptr,
                                      now >= end ? 0 : static_cast<DWORD>(end - now), nullptr, passed);
    if (!box) return {};
    // A message box has its text in a static control with the id -1.
    if (GetDlgItem(box, 0xFFFF)) return MessageBoxSeen{box, WindowText(box), MessageBoxText(box)};
    passed.push_back(box);  // another dialog of the process
  }
}

namespace {

BOOL CALLBACK FindTooltip(HWND wnd, LPARAM param) {
  if (!HasClass(wnd, TOOLTIPS_CLASSW)) return TRUE;
  *reinterpret_cast<HWND*>(param) = wnd;
  return FALSE;
}

}  // namespace

HWND ThreadTooltip(HWND wnd) {
  HWND tip = nullptr;
  EnumThreadWindows(GetWindowThreadProcessId(wnd, nullptr), &FindTooltip, reinterpret_cast<LPARAM>(&tip));
  return tip;
}

std::wstring HoverText(HWND control, DWORD ms) {
  // Away first, until the tip of the last control has gone.
  SetCursorPos(0, 0);
  const HWND previous = ThreadTooltip(control);
  for (int i = 0; i < 40 && previous && IsWindowVisible(previous); ++i) PumpFor(50);
  RECT rect = WindowRect(control);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    const HWND tip = ThreadTooltip(control);
    if (tip && IsWindowVisible(tip)) {
      const std::wstring text = WindowText(tip);
      if (!text.empty()) return text;
    }
    if (GetTickCount64() >= end) return {};
    PumpFor(50);
  }
}

namespace {

HWND KeyTarget(HWND fallback) {
  HWND focus = FocusedWindow(fallback);
  return focus ? focus : fallback;
}

}  // namespace

void PostKeyToFocus(HWND fallback, WORD virtualKey) {
  const HWND target = KeyTarget(fallback);
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000);
  Settle(fallback);
}

void PostAltKey(HWND fallback, wchar_t letter) {
  const HWND target = KeyTarget(fallback);
  const WORD virtualKey = static_cast<WORD>(towupper(letter));
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM altDown = 1 | (scan << 16) | (1 << 29);
  PostMessageW(target, WM_SYSKEYDOWN, virtualKey, altDown);
  PostMessageW(target, WM_SYSKEYUP, virtualKey, altDown | 0xC0000000);
  Settle(fallback);
}

}  // namespace tessivane::test
