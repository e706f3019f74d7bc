// The shell's folder browser for choosing the image folder.
#pragma once
#include <windows.h>

#include <string>

namespace tessivane::dialogs {

// Shows the browser with `title`, rooted at `root` (a path; empty for the
// desktop), preselecting `folder` when it names an existing folder. Only
// file-system folders can be chosen; the caller's other windows are
// disabled and critical-error boxes are off meanwhile. True with the
// chosen path in `folder`; false (folder emptied when it did not exist)
// when the user cancelled or the shell failed.
bool PickFolder(HWND owner, const std::wstring& title, const std::wstring& root, std::wstring& folder);

}  // namespace tessivane::dialogs
