// The settings dialog's check of a plug-in library the user chose.
#pragma once
#include <string>

namespace tessivane {

// A file that does not load shows error 7 and raises the silent abort; a
// library without "TessivaneDLL" shows error 8 and raises the silent abort;
// an answer other than 1 shows error 13 and returns normally. The library
// is unloaded on every path.
void CheckPluginFile(const std::string& fileName);

}  // namespace tessivane
