#include "x11/SaverOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <span>
#include <sstream>

#include "base/FileSystem.h"
#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"
#include "saver/SourcePicture.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"
// Xlib last: its macros (None, Status, Bool) would rename the core's words.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tessivane::x11 {
namespace {

// X resource ids (windows, visuals) fit in 29 bits.
constexpr uint32_t kMaxXId = 0x1FFFFFFF;
// The longest time a folder's picture stays, in seconds: an hour.
constexpr int kLongestChange = 3600;
// X coordinates and sizes are 16-bit.
constexpr int kMaxWindowSide = 32767;
// More of ~/.xscreensaver than this is not read.
constexpr uint64_t kMaxSettingsFile = 1 << 20;

// The interval of a Weight setting (-wait) in the straight and curved motions, in microseconds.
int WeightDelay(int wait) { return static_cast<int>(FrameInterval(wait, kMoveLine)) * 1000; }

void ApplyWindowId(SaverOptions& o, const std::string& option, const std::string& text) {
  o.windowId = ParseWindowId(option, text);
  o.target = Target::kWindowId;
}

void ApplyDisplay(SaverOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw OptionError(option + " needs a display name");
  o.display = text;
}

// Whether the picture file or folder is there shows once the frames start,
// where one that is not is a notice and the random picture.
void ApplyFile(SaverOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw OptionError(option + " needs a file name");
  o.file = text;
}

void ApplyFolder(SaverOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw OptionError(option + " needs a folder name");
  o.folder = text;
}

// The options that choose the picture source, of which the last one given
// counts.
constexpr std::string_view kSourceOptions[] = {"file", "folder", "xscreensaver-images"};

std::string LastSourceCounts() { return " (the last of -file, -folder, -xscreensaver-images counts)"; }

// An X id as X clients write it: decimal, or hexadecimal after "0x".
// Throws OptionError naming `option` and the `kind` of id.
uint32_t ParseXId(const std::string& option, const std::string& text, const char* kind) {
  std::string_view digits = text;
  int base = 10;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || value == 0 ||
      value > kMaxXId)
    throw OptionError(option + ": '" + text + "' is not a " + kind);
  return static_cast<uint32_t>(value);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// XScreenSaver's visual names: default, best, a visual class, mono, gray,
// color, or a visual id.
void ApplyVisual(SaverOptions& o, const std::string& option, const std::string& text) {
  static constexpr struct {
    const char* name;
    int visualClass;
  } kClasses[] = {{"truecolor", TrueColor},     {"directcolor", DirectColor}, {"pseudocolor", PseudoColor},
                  {"staticcolor", StaticColor}, {"grayscale", GrayScale},     {"staticgray", StaticGray},
                  {"color", TrueColor},         {"gray", GrayScale},          {"grey", GrayScale},
                  {"mono", StaticGray}};
  using K = VisualRequest::Kind;
  VisualRequest v;
  v.name = text;
  const std::string name = Lower(text);
  if (name == "default") {
    v.kind = K::kDefault;
  } else if (name == "best") {
    v.kind = K::kBest;
  } else if (auto c = std::find_if(std::begin(kClasses), std::end(kClasses),
                                   [&](const auto& c) { return name == c.name; });
             c != std::end(kClasses)) {
    v.kind = K::kClass;
    v.visualClass = c->visualClass;
  } else if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) {
    v.kind = K::kId;
    v.id = ParseXId(option, text, "visual id");
  } else {
    throw OptionError(option + ": no visual '" + text +
                      "' (default, best, TrueColor, DirectColor, "
                      "PseudoColor, StaticColor, GrayScale, StaticGray, or an id)");
  }
  o.visual = v;
}

// X's geometry, WIDTHxHEIGHT+X+Y (a size, a place or both; a negative
// place counts from the right or bottom edge).
void ApplyGeometry(SaverOptions& o, const std::string& option, const std::string& text) {
  const OptionError bad(option + ": '" + text + "' is not WIDTHxHEIGHT+X+Y");
  // Only X's characters, and no number longer than five digits (which
  // XParseGeometry would overflow).
  size_t digits = 0;
  for (char c : text) {
    if (std::string_view("0123456789xX+-").find(c) == std::string_view::npos) throw bad;
    digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
    if (digits > 5) throw bad;
  }
  WindowGeometry g;
  int x = 0, y = 0;
  unsigned width = 0, height = 0;
  g.mask = XParseGeometry(text.c_str(), &x, &y, &width, &height);
  const int size = g.mask & (WidthValue | HeightValue), place = g.mask & (XValue | YValue);
  const bool sized = size == (WidthValue | HeightValue), placed = place == (XValue | YValue);
  const bool fits = width <= kMaxWindowSide && height <= kMaxWindowSide && x >= -kMaxWindowSide &&
                    x <= kMaxWindowSide && y >= -kMaxWindowSide && y <= kMaxWindowSide;
  if (size + place == 0 || (size && !sized) || (place && !placed) || !fits ||
      (sized && (width == 0 || height == 0)))
    throw bad;
  if (sized) g.width = width, g.height = height;
  if (placed) g.x = x, g.y = y;
  o.geometry = g;
}

using S = SaverOptions;
const OptionRow<S> kSaverRows[] = {
    {.Name = "delay",
     .Value = "N",
     .Help = "microseconds between frames (without -delay, the -wait interval)",
     .Number = &S::delay,
     .Low = 0,
     .High = WeightDelay(MainSettings::kWeight.max),
     .Given = &S::delayGiven},
    {.Name = "wait",
     .Value = "N",
     .Help = "the Windows saver's Delay setting: N x 10 ms between frames, (N - 1) x 0.5 + 0.1 s in the "
             "slide show",
     .Number = &S::wait,
     .Low = MainSettings::kWeight.min,
     .High = MainSettings::kWeight.max,
     .Given = &S::waitGiven},
    {.Name = "file",
     .Value = "FILE",
     .Help = "the picture (BMP, JPEG or PNG); default a random picture",
     .Apply = ApplyFile,
     .MoreHelp = LastSourceCounts},
    {.Name = "folder",
     .Value = "DIR",
     .Help = "a new picture from this folder every -change seconds",
     .Apply = ApplyFolder,
     .MoreHelp = LastSourceCounts},
    {.Name = "xscreensaver-images",
     .Help = "the pictures of the folder XScreenSaver's settings name (imageDirectory in ~/.xscreensaver)",
     .Flag = &S::xscreensaverImages,
     .MoreHelp = LastSourceCounts},
    {.Name = "change",
     .Value = "SECONDS",
     .Help = "Change every: seconds between the folder's pictures",
     .Number = &S::change,
     .Low = 0,
     .High = kLongestChange},
    {.Name = "root",
     .Help = "draw on the root window, or on the virtual root a desktop shows over it",
     .Flag = &S::root},
    {.Name = "window",
     .Help = "draw in a window of its own (the default)",
     .Flag = &S::root,
     .FlagValue = false},
    {.Name = "window-id",
     .Value = "ID",
     .Help = "draw into the window ID (decimal or 0x hexadecimal)",
     .Apply = ApplyWindowId},
    {.Name = "geometry",
     .Value = "WxH+X+Y",
     .Help = "size and place of its own window (default 960x600)",
     .Apply = ApplyGeometry},
    {.Name = "fullscreen", .Help = "its own window covers the screen", .Flag = &S::fullscreen},
    {.Name = "visual",
     .Value = "V",
     .Help = "its own window's visual: default, best, a class such as TrueColor, or an id",
     .Apply = ApplyVisual},
    {.Name = "install", .Help = "its own window gets a colormap of its own", .Flag = &S::install},
    {.Name = "noinstall",
     .Help = "its own window uses the visual's default colormap (the default)",
     .Flag = &S::install,
     .FlagValue = false},
    {.Name = "pair",
     .Help = "taken and ignored: XScreenSaver's demo mode gives it to a second preview",
     .Flag = &S::pair},
    {.Name = "fps", .Help = "show the frame rate and the CPU load at the bottom", .Flag = &S::ShowFps},
    {.Name = "no-fps", .Help = "no frame rate (the default)", .Flag = &S::ShowFps, .FlagValue = false},
    {.Name = "no-shm", .Help = "no shared memory: every tile goes over the connection", .Flag = &S::noShm},
    {.Name = "display", .Value = "NAME", .Help = "the X display (default $DISPLAY)", .Apply = ApplyDisplay},
};

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The value of `key` in an X resource file (continued lines joined), or
// nothing.
std::optional<std::string> ResourceValue(std::istream& in, std::string_view key) {
  std::string line, entry;
  while (std::getline(in, line)) {
    entry += line;
    if (!entry.empty() && entry.back() == '\\') {
      entry.pop_back();
      continue;
    }
    const std::string_view e = entry;
    const size_t colon = e.find(':');
    if (colon != std::string_view::npos && Trim(e.substr(0, colon)) == key)
      return std::string(Trim(e.substr(colon + 1)));
    entry.clear();
  }
  return std::nullopt;
}

// A picture source option as it was given: its name and its words.
struct GivenSource {
  std::string_view name;
  std::string words;
};

// The last picture source option given is the source: the others are
// dropped with one notice naming them (an option given again only takes
// its new value, as every option does).
void KeepLastSource(SaverOptions& o, const std::vector<GivenSource>& given) {
  if (given.empty()) return;
  const GivenSource& kept = given.back();
  std::string dropped;
  for (const GivenSource& g : given)
    if (g.name != kept.name) dropped += (dropped.empty() ? "" : ", ") + g.words;
  if (!dropped.empty())
    o.notices.push_back(dropped + " ignored: " + kept.words + ", given last, is the picture source");
  if (kept.name != "file") o.file.clear();
  if (kept.name != "folder") o.folder.clear();
  o.xscreensaverImages = kept.name == "xscreensaver-images";
}

}  // namespace

SaverOptions::SaverOptions() : delay(WeightDelay(MainSettings::kWeight.initial)) {}

std::span<const OptionRow<SaverOptions>> SaverOptionRows() { return kSaverRows; }

uint32_t ParseWindowId(const std::string& option, const std::string& text) {
  return ParseXId(option, text, "window id");
}

std::string SaverUsage() {
  return "tessivane [options]: the kaleidoscope in an X window, for XScreenSaver\n"
         "Without -root or -window-id it opens a window of its own, which a key or a click closes;\n"
         "it draws into the window XScreenSaver names in XSCREENSAVER_WINDOW. SIGTERM or SIGINT ends it.\n"
         "There is no music here. Options (one dash or two):\n" +
         OptionUsage(SaverOptionRows(), "-") + OptionUsage(CommonOptionRows(), "-") +
         UsageLine("-", "help", "", "this text");
}

SaverOptions ParseSaverOptions(const std::vector<std::string>& args,
                               const std::optional<std::string>& screensaverWindow) {
  SaverOptions o;
  std::vector<GivenSource> sources;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view name = OptionName(args[i]);
    if (name == "help" || name == "h") {
      o.help = true;
      return o;
    }
    const size_t first = i;
    if (TakeOption(SaverOptionRows(), args, i, o)) {
      if (std::find(std::begin(kSourceOptions), std::end(kSourceOptions), name) != std::end(kSourceOptions))
        sources.push_back({name, i > first ? args[first] + " " + args[i] : args[first]});
      continue;
    }
    if (TakeOption(CommonOptionRows(), args, i, static_cast<CommonOptions&>(o))) {
      if (o.version) return o;
      continue;
    }
    if (name.empty()) throw OptionError("unexpected argument '" + args[i] + "'");
    throw OptionError("unknown option '" + args[i] + "' (see -help)");
  }
  // The plug-in switch is separate from the method, as in the settings
  // record: with -plugin the library is the method, whatever -method says.
  if (!o.plugin.empty()) o.methodGiven = false;
  FinishCommonOptions(o);
  KeepLastSource(o, sources);
  if (o.delayGiven && o.waitGiven) throw OptionError("-delay and -wait do not go together");
  if (o.fullscreen && o.geometry.mask) throw OptionError("-fullscreen and -geometry do not go together");
  if (o.unitType != kMethodTypeRandom && o.unitType != kMethodTypePlugin) {
    const MethodRow* row = MethodRowByType(o.unitType);
    if (!row || !row->Create)
      throw OptionError("no method has the type number " + std::to_string(o.unitType));
  } else if (o.unitType == kMethodTypePlugin && o.plugin.empty()) {
    throw OptionError("the plug-in method takes its library: -plugin FILE");
  }
  if (o.target != Target::kWindowId) {
    if (screensaverWindow) {
      o.windowId = ParseWindowId("XSCREENSAVER_WINDOW", *screensaverWindow);
      o.target = Target::kWindowId;
    } else if (o.root) {
      o.target = Target::kRoot;
    }
  }
  return o;
}

std::string TakeXScreenSaverImages(SaverOptions& o, const char* home) {
  const std::string notice = "; the random picture instead";
  if (!home || !*home) return "HOME is not set, so XScreenSaver's picture folder is unknown" + notice;
  const std::filesystem::path settings = std::filesystem::path(home) / ".xscreensaver";
  // Opened as picture files are, so that a named pipe or a device cannot
  // block the start: only a regular file is read.
  ReadOnlyFile file;
  const ReadFileResult opened = file.Open(settings.string(), UINT64_MAX);
  if (opened == ReadFileResult::kCannotOpen)
    return "no " + settings.string() + " names a picture folder" + notice;
  std::string head(static_cast<size_t>(std::min(file.Size(), kMaxSettingsFile)), '\0');
  size_t count = 0;
  if (opened != ReadFileResult::kOk ||
      !file.ReadAt(0, reinterpret_cast<uint8_t*>(head.data()), head.size(), count))
    return settings.string() + " is no file that can be read" + notice;
  head.resize(count);
  std::istringstream text(head);
  std::optional<std::string> folder = ResourceValue(text, "imageDirectory");
  if (!folder || folder->empty())
    return settings.string() + " names no picture folder (imageDirectory)" + notice;
  if (folder->starts_with("~/")) *folder = std::string(home) + folder->substr(1);
  std::error_code ec;
  if (!std::filesystem::is_directory(std::filesystem::path(*folder), ec))
    return "XScreenSaver's picture folder '" + *folder + "' is no folder" + notice;
  o.folder = *folder;
  return {};
}

std::chrono::microseconds FrameDelay(const SaverOptions& o, uint32_t loopIntervalMs) {
  if (o.delayGiven) return std::chrono::microseconds(o.delay);
  return std::chrono::milliseconds(loopIntervalMs);
}

RunConfig RunConfigOf(const SaverOptions& o) {
  RunConfig c = tessivane::RunConfigOf(static_cast<const CommonOptions&>(o));
  c.Source = !o.file.empty() ? kFileTypeFile : !o.folder.empty() ? kFileTypeFolder : kFileTypeRandom;
  c.PictureFile = o.file;
  c.PictureFolder = o.folder;
  c.ChangeSeconds = o.change;
  c.FrameIntervalMs = FrameInterval(o.wait, c.Motion);
  return c;
}

}  // namespace tessivane::x11
