// The command line of the X11 saver: the options it shares with
// tessivane-render (cli/CommandOptions.h) and its own, in XScreenSaver's
// style, and the run they describe.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandOptions.h"
#include "settings/MainSettings.h"
#include "settings/RunConfig.h"

namespace tessivane::x11 {

// Where the frames go.
enum class Target {
  kOwnWindow,  // a window of our own; a key or a click ends it
  kRoot,       // the root window
  kWindowId,   // the window windowId (-window-id, or XScreenSaver's XSCREENSAVER_WINDOW)
};

struct SaverOptions : CommonOptions {
  bool help = false;
  bool root = false;
  bool noShm = false;    // plain image transfers even where shared memory works
  bool ShowFps = false;  // the frame rate and the CPU load at the bottom (-fps, -no-fps)
  Target target = Target::kOwnWindow;
  uint32_t windowId = 0;
  std::string display;                        // -display; empty for $DISPLAY
  std::string file;                           // -file: one picture
  std::string folder;                         // -folder: a picture drawn from it every -change seconds
  int change = 60;                            // the ImageChangeTime setting
  int delay = MainSettings::kWeight.initial;  // the Weight setting: 10 ms a step between frames
};

// Parses the arguments after the program name. `screensaverWindow` is the
// value of XSCREENSAVER_WINDOW when it is set: the target unless
// -window-id names another. Throws OptionError.
SaverOptions ParseSaverOptions(const std::vector<std::string>& args,
                               const std::optional<std::string>& screensaverWindow);

// A window id as X clients write it: decimal, or hexadecimal after "0x".
// Throws OptionError naming `option`.
uint32_t ParseWindowId(const std::string& option, const std::string& text);

std::string SaverUsage();

// The run the options describe.
RunConfig RunConfigOf(const SaverOptions& options);

}  // namespace tessivane::x11
