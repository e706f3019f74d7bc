#include "cli/CommandOptions.h"

#include <algorithm>
#include <charconv>

#include "TessivaneVersion.h"
#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

namespace tessivane {
namespace {

bool ParseInt(const std::string& text, int64_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first == last) return false;
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last;
}

const MethodRow* MethodByName(std::string_view name) {
  for (const MethodRow& m : MethodRows())
    if (!m.CliName.empty() && name == m.CliName) return &m;
  return nullptr;
}

void ApplyMethod(CommonOptions& o, const std::string& option, const std::string& text) {
  o.methodGiven = true;
  if (const MethodRow* m = MethodByName(text)) {
    o.unitType = m->Type;
    return;
  }
  int64_t value = 0;
  if (ParseInt(text, value) && value >= 0 && value <= 255) {
    o.unitType = static_cast<int>(value);
    return;
  }
  throw OptionError("unknown method '" + text + "'");
}

// A comma-separated list of method names -> one "0"/"1" per stored code.
void ApplyRandomSet(CommonOptions& o, const std::string& option, const std::string& text) {
  std::string set = MethodOptions::NormalizeRandom("");
  size_t start = 0;
  bool any = false;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string name = text.substr(start, comma - start);
    const MethodRow* m = MethodByName(name);
    if (!m || !m->Create || m->Code < 0)
      throw OptionError(option + ": '" + name + "' is not a method to draw from");
    set[static_cast<size_t>(m->Code)] = '1';
    any = true;
    start = comma + 1;
  }
  if (!any) throw OptionError(option + " needs at least one method");
  o.randomSet = MethodOptions::NormalizeRandom(set);
}

void ApplyMotion(CommonOptions& o, const std::string& option, const std::string& text) {
  if (text == "line")
    o.motion = kMoveLine;
  else if (text == "curve")
    o.motion = kMoveCurve;
  else if (text == "slideshow")
    o.motion = kMoveSlideShow;
  else
    throw OptionError("unknown motion '" + text + "' (line, curve or slideshow)");
}

void ApplySeed(CommonOptions& o, const std::string& option, const std::string& text) {
  o.seed = static_cast<uint32_t>(IntInRange(option, text, 0, UINT32_MAX));
}

void ApplyPlugin(CommonOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw OptionError(option + " needs a file name");
  o.plugin = text;
}

std::string MethodHelp() { return MethodNames() + " | random"; }

std::string RandomFromHelp() {
  return "the methods random draws from (default " + RandomDefaultNames() + ")";
}

using C = CommonOptions;
const OptionRow<C> kCommonRows[] = {
    {.Name = "method", .Value = "M", .Apply = ApplyMethod, .MoreHelp = MethodHelp},
    {.Name = "size",
     .Value = "N",
     .Help = "the Size setting (cut = 4 N)",
     .Number = &C::size,
     .Low = MainSettings::kSize.min,
     .High = MainSettings::kSize.max},
    {.Name = "speed",
     .Value = "N",
     .Help = "the Change setting",
     .Number = &C::speed,
     .Low = MainSettings::kMove.min,
     .High = MainSettings::kMove.max},
    {.Name = "motion", .Value = "K", .Help = "line (default) | curve | slideshow", .Apply = ApplyMotion},
    {.Name = "random-from", .Value = "M,M..", .Apply = ApplyRandomSet, .MoreHelp = RandomFromHelp},
    {.Name = "aspect",
     .Value = "N",
     .Help = "the Aspect ratio of Rectangle and Unchanged",
     .Number = &C::aspect,
     .Low = MethodOptions::kAspect.min,
     .High = MethodOptions::kAspect.max},
    {.Name = "rotate",
     .Value = "N",
     .Help = "the Distortion of Distorted square",
     .Number = &C::rotate,
     .Low = MethodOptions::kRotate.min,
     .High = MethodOptions::kRotate.max},
    {.Name = "fade",
     .Value = "N",
     .Help = "the Fade setting: a folder's picture change fades over N tenths of a second (0: a cut)",
     .Number = &C::fade,
     .Low = MainSettings::kFadeTime.min,
     .High = MainSettings::kFadeTime.max},
    {.Name = "shuffle", .Help = "shuffle the piece's pixels", .Flag = &C::shuffle},
    {.Name = "blur", .Help = "blur the picture", .Flag = &C::blur},
    {.Name = "mono", .Help = "turn the picture monotone", .Flag = &C::mono},
    {.Name = "brightness", .Help = "vary the piece's brightness", .Flag = &C::brightness},
    {.Name = "plugin",
     .Value = "FILE",
     .Help = "a plug-in as the method (a shared library here, a DLL on Windows)",
     .Apply = ApplyPlugin},
    {.Name = "seed",
     .Value = "N",
     .Help = "every re-seed takes N: the same options give the same pictures",
     .Apply = ApplySeed},
    {.Name = "version", .Help = "print the version and end", .Flag = &C::version},
};

}  // namespace

CommonOptions::CommonOptions() : randomSet(MethodOptions::DefaultRandom()) {}

std::span<const OptionRow<CommonOptions>> CommonOptionRows() { return kCommonRows; }

int64_t IntInRange(const std::string& option, const std::string& text, int64_t low, int64_t high) {
  int64_t value = 0;
  if (!ParseInt(text, value)) throw OptionError(option + " takes a whole number, not '" + text + "'");
  if (value < low || value > high)
    throw OptionError(option + " " + text + " is out of range " + std::to_string(low) + ".." +
                      std::to_string(high));
  return value;
}

std::string_view OptionName(std::string_view argument) {
  if (argument.starts_with("--"))
    argument.remove_prefix(2);
  else if (argument.starts_with("-"))
    argument.remove_prefix(1);
  else
    return {};
  return argument;
}

std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + TESSIVANE_VERSION_TEXT + "\n";
}

std::string MethodNames() {
  std::string names;
  for (const MethodRow& m : MethodRows()) {
    if (m.CliName.empty() || !m.Create) continue;
    if (!names.empty()) names += " | ";
    names += m.CliName;
  }
  return names;
}

std::string RandomDefaultNames() {
  std::vector<std::string_view> names;
  std::vector<bool> picked;
  for (const MethodRow& m : MethodRows()) {
    if (m.CliName.empty() || !m.Create) continue;
    names.push_back(m.CliName);
    picked.push_back(m.RandomByDefault);
  }
  const auto first = std::find(picked.begin(), picked.end(), true);
  const auto last = std::find(picked.rbegin(), picked.rend(), true).base();
  if (first == picked.end()) return {};
  const size_t from = static_cast<size_t>(first - picked.begin());
  const size_t to = static_cast<size_t>(last - picked.begin()) - 1;
  if (from < to && std::find(first, last, false) == last)
    return std::string(names[from]) + ".." + std::string(names[to]);
  std::string list;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!picked[i]) continue;
    if (!list.empty()) list += ",";
    list += names[i];
  }
  return list;
}

void FinishCommonOptions(CommonOptions& o) {
  if (o.plugin.empty()) return;
  if (o.methodGiven) throw OptionError("--plugin is the method; --method does not apply");
  o.unitType = kMethodTypePlugin;
}

std::string UsageLine(std::string_view dashes, std::string_view name, std::string_view value,
                      std::string help) {
  std::string head = "  ";
  head.append(dashes).append(name);
  if (!value.empty()) head.append(" ").append(value);
  if (head.size() < 22)
    head.append(22 - head.size(), ' ');
  else
    head += ' ';
  return head + help + "\n";
}

RunConfig RunConfigOf(const CommonOptions& o) {
  RunConfig c;
  c.MethodType = o.plugin.empty() ? o.unitType : kMethodTypePlugin;
  c.PluginFile = PluginPath(o.plugin);
  c.RandomSet = o.randomSet;
  c.RectangleAspect = c.NoneAspect = o.aspect;
  c.Rotate = o.rotate;
  c.CutSide = CutSideOf(o.size);
  c.Speed = o.speed;
  c.Motion = static_cast<uint8_t>(o.motion);
  c.FrameIntervalMs = FrameInterval(kDelaySetting.initial, c.Motion);
  c.Blur = o.blur;
  c.MonoTone = o.mono;
  c.BrightnessChange = o.brightness;
  c.Shuffle = o.shuffle;
  c.FadeTenths = o.fade;
  return c;
}

std::string PluginPath(const std::string& file) {
#if !defined(_WIN32)
  if (!file.empty() && file.find('/') == std::string::npos) return "./" + file;
#endif
  return file;
}

}  // namespace tessivane
