// The method options dialog: the distorted-square value, the aspect steps
// of the rectangle and no-conversion methods and the methods the random
// choice may pick. Modal, owned by the settings dialog.
#pragma once
#include <windows.h>

namespace tessivane::dialogs {

// Loads the option record (reporting a value it could not read, which then
// shows its default), shows the dialog centred over `owner` until it is
// closed, and writes the record back.
void ShowOptionsDialog(HINSTANCE instance, HWND owner);

}  // namespace tessivane::dialogs
