// The two open dialogs of the settings dialog: the picture file, with a
// live preview of the selected picture decoded by the program's own
// loader (so BMP, JPEG and PNG all preview), and the plug-in library.
#pragma once
#include <windows.h>

#include <string>

namespace tessivane::dialogs {

// The chosen file's full path; empty when the user cancelled.
std::wstring ChoosePictureFile(HWND owner);
std::wstring ChoosePluginFile(HWND owner);

// A filter written "label|pattern|label|pattern" as the open dialog takes
// it: every bar a NUL, and a second NUL at the end.
std::wstring FilterFromBars(const std::wstring& bars);

}  // namespace tessivane::dialogs
