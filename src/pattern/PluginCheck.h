// The settings dialog's check of a plug-in library the user chose.
#pragma once
#include <cstdint>
#include <string>

namespace tessivane {

// Asks the library through the installed runner as a trial set-up with a
// square cut of cutSide pixels. A file that does not load, or a plug-in
// that crashes, ends its process or hangs anywhere in the trial, shows
// error 7 and raises the silent abort; a library without "TessivaneDLL"
// shows error 8 and raises the silent abort; an answer other than 1 shows
// error 13 and returns normally. Any other failure of the trial is left to
// the set-up of a run, which reports it. The library is unloaded on every
// path.
void CheckPluginFile(const std::string& fileName, int32_t cutSide);

}  // namespace tessivane
