// The command line of the X11 saver: the options it shares with
// tessivane-render (cli/CommandOptions.h) and its own, in XScreenSaver's
// style, and the run they describe.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/CommandOptions.h"
#include "settings/MainSettings.h"
#include "settings/RunConfig.h"

namespace tessivane::x11 {

// Where the frames go.
enum class Target {
  kOwnWindow,  // a window of our own; a key or a click ends it
  kRoot,       // the root window, or the virtual root a desktop shows over it
  kWindowId,   // the window windowId (-window-id, or XScreenSaver's XSCREENSAVER_WINDOW)
};

// The visual -visual asks for, for a window of our own.
struct VisualRequest {
  enum class Kind { kDefault, kBest, kClass, kId } kind = Kind::kDefault;
  int visualClass = 0;  // an X visual class (TrueColor, PseudoColor...) for kClass
  uint32_t id = 0;      // a visual id for kId
  std::string name;     // as the user wrote it
};

// The place of a window of our own (-geometry): XParseGeometry's mask
// (XValue, YValue, WidthValue, HeightValue, XNegative, YNegative) and values.
struct WindowGeometry {
  int mask = 0;
  int x = 0, y = 0;
  unsigned width = 960, height = 600;
};

struct SaverOptions : CommonOptions {
  bool help = false;
  bool root = false;
  bool noShm = false;    // plain image transfers even where shared memory works
  bool ShowFps = false;  // the frame rate and the CPU load at the bottom (-fps, -no-fps)
  Target target = Target::kOwnWindow;
  uint32_t windowId = 0;
  std::string display;  // -display; empty for $DISPLAY
  VisualRequest visual;
  bool install = false;  // -install: a colormap of its own for its own window
  bool pair = false;     // -pair, from XScreenSaver's demo mode: changes nothing here
  WindowGeometry geometry;
  bool fullscreen = false;                   // its own window covers the screen
  std::string file;                          // -file: one picture
  std::string folder;                        // -folder: a picture drawn from it every -change seconds
  bool xscreensaverImages = false;           // the folder of XScreenSaver's imageDirectory
  int change = 60;                           // the ImageChangeTime setting
  int wait = MainSettings::kWeight.initial;  // -wait: the Weight setting, the Windows saver's Delay
  bool waitGiven = false;
  int delay;  // -delay: microseconds between frames; the Weight's interval unless given
  bool delayGiven = false;
  // Lines for standard error: what the command line asked that the run
  // leaves out.
  std::vector<std::string> notices;

  SaverOptions();
};

// Parses the arguments after the program name. `screensaverWindow` is the
// value of XSCREENSAVER_WINDOW when it is set: the target unless
// -window-id names another. Throws OptionError.
SaverOptions ParseSaverOptions(const std::vector<std::string>& args,
                               const std::optional<std::string>& screensaverWindow);

// A window id as X clients write it: decimal, or hexadecimal after "0x".
// Throws OptionError naming `option`.
uint32_t ParseWindowId(const std::string& option, const std::string& text);

std::span<const OptionRow<SaverOptions>> SaverOptionRows();
std::string SaverUsage();

// With -xscreensaver-images: makes the folder that imageDirectory names in
// `home`/.xscreensaver the source. Returns an empty text then, or the one
// line that tells why the random picture stays the source.
std::string TakeXScreenSaverImages(SaverOptions& options, const char* home);

// The pause after a frame: -delay's when it was given, otherwise the frame
// loop's interval (from the Weight setting and the motion).
std::chrono::microseconds FrameDelay(const SaverOptions& options, uint32_t loopIntervalMs);

// The run the options describe.
RunConfig RunConfigOf(const SaverOptions& options);

}  // namespace tessivane::x11
