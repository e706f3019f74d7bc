// Drives the dialogs of another process through their controls, the way a
// user would: texts, clicks, list choices with the notification the control
// itself would send, scroll bars, tabs, check-list marks, dropped files, the
// shell's file and folder dialogs, message boxes, keys. Messages that carry
// a pointer get memory inside the target process (both processes have the
// same bitness). Every wait is bounded and pumps this thread's messages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/ScopedWin.h"

namespace tessivane::test {

// A block of memory inside another process (VirtualAllocEx), released with
// the object.
class RemoteMemory {
public:
  RemoteMemory(HANDLE process, size_t size);
  ~RemoteMemory();
  RemoteMemory(RemoteMemory&& other) noexcept;
  RemoteMemory& operator=(RemoteMemory&&) = delete;
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  void* Address() const { return address_; }
  LPARAM AsParam() const { return reinterpret_cast<LPARAM>(address_); }
  void Write(const void* data, size_t size, size_t offset = 0);
  void Read(void* data, size_t size, size_t offset = 0) const;

private:
  HANDLE process_;
  void* address_ = nullptr;
};

// A handle of the process that owns a window, with the rights the remote
// memory needs.
ScopedKernelHandle OpenWindowProcess(HWND wnd);

// Returns when the window's thread has handled what was sent or posted to
// it before and what it did next (the code after a modal loop included): a
// message sent now is handled at the thread's next look at its queue.
void Settle(HWND wnd);

// ---- Finding windows ------------------------------------------------------

// The first visible top-level window of a process with this class and,
// when given, this caption (nullptr: any) and this owner (nullptr: any),
// within ms; nullptr when none appears. Windows in `except` are passed over.
HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD ms,
                      HWND owner = nullptr, const std::vector<HWND>& except = {});
// A control anywhere below a window (children of tab pages and group
// boxes included) with this identifier; nullptr when there is none.
HWND Control(HWND root, int id);
// Like Control, but the first descendant of this class.
HWND Descendant(HWND root, const wchar_t* className);
// The first window below root whose text is `text`; nullptr when none.
HWND DescendantWithText(HWND root, const std::wstring& text);
// Waits until the window is gone (destroyed or hidden), within ms.
bool WaitForWindowGone(HWND wnd, DWORD ms);

// ---- Reading and changing controls ------------------------------------------

std::wstring Text(HWND control);
void SetText(HWND control, const std::wstring& text);
bool Enabled(HWND control);
// BM_GETCHECK == BST_CHECKED.
bool Checked(HWND button);
// The window of the target's GUI thread that has the keyboard focus.
HWND FocusedWindow(HWND anyWindowOfTheThread);
// Sets the focus in the target thread (WM_NEXTDLGCTL to its dialog), as a
// user tabbing into the control does; the control that had it gets its
// focus-lost handling.
void FocusControl(HWND dialog, HWND control);

// Presses a button and returns when the dialog has handled it. Use only
// for buttons that open nothing modal.
void Click(HWND button);
// Presses a button without waiting (it may open a message box or a modal
// dialog); the caller waits for what it expects.
void ClickAsync(HWND button);

// Selects an item of a combo box and tells its parent (CBN_SELCHANGE), as
// a choice of the user does.
void SelectComboItem(HWND combo, int index);
int ComboSelection(HWND combo);
std::vector<std::wstring> ComboItems(HWND combo);

// Scroll bar controls: the position, and a move that the parent hears of
// (WM_HSCROLL with SB_THUMBPOSITION, then SB_ENDSCROLL).
int ScrollPosition(HWND bar);
void SetScrollPosition(HWND bar, int position);

// Tab controls: TCM_SETCURFOCUS selects and notifies (TCN_SELCHANGE).
void SelectTab(HWND tabs, int index);
int SelectedTab(HWND tabs);

// List views with check boxes.
int ListItemCount(HWND list);
std::wstring ListItemText(HWND list, int item);
bool ListItemChecked(HWND list, int item);
void SetListItemChecked(HWND list, int item, bool checked);
// Selects and focuses one item (the list tells its parent, as a click does).
void SelectListItem(HWND list, int item);
// The first item whose text contains `part`; -1 when none has it.
int FindListItem(HWND list, const std::wstring& part);

// Files dropped on a window from the shell (one or more, as the shell
// always drops): a DROPFILES block with wide names inside the target. The block must live until the target
// has handled the drop, so it is handed back to the caller.
RemoteMemory DropFiles(HWND target, const std::vector<std::wstring>& paths);

// ---- Shell dialogs and message boxes ------------------------------------------

// Puts a path into an open-file dialog's name box and presses its OK
// button.
void ConfirmOpenFileDialog(HWND dialog, const std::wstring& path);
// Selects a folder in the shell's folder browser and presses its OK button.
void ConfirmFolderBrowser(HWND browser, const std::wstring& folder);

// A message box of another process: its caption and text, and a press on
// one of its buttons.
struct MessageBoxSeen {
  HWND box = nullptr;
  std::wstring caption;
  std::wstring text;
  explicit operator bool() const { return box != nullptr; }
  // Presses the button (IDOK by default) and waits until the box is gone
  // and its owner has handled what came after it.
  void Answer(int button = IDOK) const;
};
// The first message box the process shows within ms (a dialog-class
// window whose text is in the static control a message box has); the
// windows in `except` (the process's own dialogs) are passed over.
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD ms, const std::vector<HWND>& except);

// The tooltip window of the thread that owns `wnd` (tooltips_class32),
// visible or not; nullptr when it has none.
HWND ThreadTooltip(HWND wnd);
// Moves the pointer to the middle of a control and waits up to ms for the
// thread's tooltip to show; its text then, empty when none showed.
std::wstring HoverText(HWND control, DWORD ms);

// ---- Keys -------------------------------------------------------------------------

// A key posted to the target's focused window (or `fallback` when the
// thread has no focus): WM_KEYDOWN then WM_KEYUP. The dialog manager of the
// target turns Enter and Esc into its default and cancel buttons.
void PostKeyToFocus(HWND fallback, WORD virtualKey);
// Alt plus a letter posted to the target's focused window as
// WM_SYSKEYDOWN and WM_SYSKEYUP with the Alt bit; the target's own message
// translation makes the WM_SYSCHAR that its dialog manager matches against
// the mnemonics (the "&F" of a caption). No foreground window is needed.
void PostAltKey(HWND fallback, wchar_t letter);

}  // namespace tessivane::test
