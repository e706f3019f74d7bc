#include "x11/SaverOptions.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <span>

#include "pattern/MethodTable.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

namespace tessivane::x11 {
namespace {

// X resource ids fit in 29 bits.
constexpr uint32_t kMaxWindowId = 0x1FFFFFFF;

void ApplyWindowId(SaverOptions& o, const std::string& option, const std::string& text) {
  o.windowId = ParseWindowId(option, text);
  o.target = Target::kWindowId;
}

void ApplyDisplay(SaverOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw OptionError(option + " needs a display name");
  o.display = text;
}

// A picture file or folder must be there before any window opens; whether
// the picture decodes shows once the frames start.
void ApplyFile(SaverOptions& o, const std::string& option, const std::string& text) {
  std::error_code ec;
  if (text.empty() || !std::filesystem::is_regular_file(std::filesystem::path(text), ec))
    throw OptionError(option + ": no picture file '" + text + "'");
  o.file = text;
}

void ApplyFolder(SaverOptions& o, const std::string& option, const std::string& text) {
  std::error_code ec;
  if (text.empty() || !std::filesystem::is_directory(std::filesystem::path(text), ec))
    throw OptionError(option + ": no folder '" + text + "'");
  o.folder = text;
}

using S = SaverOptions;
const OptionRow<S> kSaverRows[] = {
    {.Name = "delay",
     .Value = "N",
     .Help = "the Weight setting: N x 10 ms between frames",
     .Number = &S::delay,
     .Low = MainSettings::kWeight.min,
     .High = MainSettings::kWeight.max},
    {.Name = "file",
     .Value = "FILE",
     .Help = "the picture (BMP, JPEG or PNG); default a random picture",
     .Apply = ApplyFile},
    {.Name = "folder",
     .Value = "DIR",
     .Help = "a new picture from this folder every -change seconds",
     .Apply = ApplyFolder},
    {.Name = "change",
     .Value = "SECONDS",
     .Help = "seconds between the folder's pictures",
     .Number = &S::change,
     .Low = 0,
     .High = INT32_MAX},
    {.Name = "root", .Help = "draw on the root window (or XScreenSaver's window)", .Flag = &S::root},
    {.Name = "window-id",
     .Value = "ID",
     .Help = "draw into the window ID (decimal or 0x hexadecimal)",
     .Apply = ApplyWindowId},
    {.Name = "no-shm", .Help = "no shared memory: every tile goes over the connection", .Flag = &S::noShm},
    {.Name = "display", .Value = "NAME", .Help = "the X display (default $DISPLAY)", .Apply = ApplyDisplay},
    {.Name = "fps", .Help = "show the frame rate and the CPU load at the bottom", .Flag = &S::ShowFps},
};

std::span<const OptionRow<S>> SaverRows() { return kSaverRows; }

}  // namespace

uint32_t ParseWindowId(const std::string& option, const std::string& text) {
  std::string_view digits = text;
  int base = 10;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || value == 0 ||
      value > kMaxWindowId)
    throw OptionError(option + ": '" + text + "' is not a window id");
  return static_cast<uint32_t>(value);
}

std::string SaverUsage() {
  return "tessivane [options]: the kaleidoscope in an X window, for XScreenSaver\n"
         "Without -root or -window-id it opens a window of its own, which a key or a click closes;\n"
         "it draws into the window XScreenSaver names in XSCREENSAVER_WINDOW. SIGTERM or SIGINT ends it.\n"
         "There is no music here. Options (one dash or two):\n" +
         OptionUsage(SaverRows(), "-") + OptionUsage(CommonOptionRows(), "-") +
         UsageLine("-", "no-fps", "", "no frame rate (the default)") +
         UsageLine("-", "help", "", "this text");
}

SaverOptions ParseSaverOptions(const std::vector<std::string>& args,
                               const std::optional<std::string>& screensaverWindow) {
  SaverOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view name = OptionName(args[i]);
    if (name == "help" || name == "h") {
      o.help = true;
      return o;
    }
    if (name == "no-fps") {  // a switch that clears, which the rows cannot say
      o.ShowFps = false;
      continue;
    }
    if (TakeOption(SaverRows(), args, i, o)) continue;
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
  if (!o.file.empty() && !o.folder.empty()) throw OptionError("-file and -folder do not go together");
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

void WriteSettings(const SaverOptions& o, SettingsStore& store) {
  {
    MainSettings s(store);
    s.FileType = !o.file.empty() ? kFileTypeFile : !o.folder.empty() ? kFileTypeFolder : kFileTypeRandom;
    s.BmpFileName = o.file;
    s.ImageFolderName = o.folder;
    s.Size = o.size;
    s.Move = o.speed;
    s.Weight = o.delay;
    if (o.unitType != kMethodTypePlugin) s.UnitType = static_cast<uint8_t>(o.unitType);
    s.TransType = o.plugin.empty() ? kTransBasic : kTransPlugin;
    std::string plugin = o.plugin;
    // A bare name means the file in the current folder, which dlopen would
    // not look in.
    if (!plugin.empty() && plugin.find('/') == std::string::npos) plugin = "./" + plugin;
    s.DllFileName = plugin;
    s.BrightnessChange = o.brightness;
    s.MonoTone = o.mono;
    s.Blur = o.blur;
    s.Shuffle = o.shuffle;
    s.MovePositionType = static_cast<uint8_t>(o.motion);
    s.ImageChangeTime = o.change;
    s.Save();
  }
  MethodOptions m(store);
  m.XY = m.NoneXY = o.aspect;
  m.Rotate = o.rotate;
  m.Random = o.randomSet;
  m.Save();
}

}  // namespace tessivane::x11
