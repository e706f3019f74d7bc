// The music dialog: whether background music plays while the screen saver
// runs, and which file. Modal, owned by the settings dialog.
#pragma once
#include <windows.h>

namespace tessivane::dialogs {

// Loads the music record (reporting a value it could not read, which then
// shows its default), shows the dialog centred over `owner` until it is
// closed, and writes the record back.
void ShowMusicDialog(HINSTANCE instance, HWND owner);

}  // namespace tessivane::dialogs
