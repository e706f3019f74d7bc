#include "render/RenderOptions.h"

#include <charconv>
#include <cstdint>

#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

namespace tessivane::render {

namespace {

// "min..max" of a setting's range.
std::string RangeText(const SettingRange& range) { return std::to_string(range.min) + ".." + std::to_string(range.max); }

// The option lines that state the settings' ranges, from the records.
std::string SettingsUsage() {
  return "  --size N        the Size setting " + RangeText(MainSettings::kSize) +
         " (cut = 4 N)       --aspect N   aspect step " + RangeText(MethodOptions::kAspect) + "\n" +
         "  --rotate N      distorted-square value " + RangeText(MethodOptions::kRotate) +
         "            --shuffle --blur --mono --brightness\n"
         "  --source S      random (default) | an image file | a folder\n"
         "  --motion K      line | curve | slideshow                 --speed N    the Move setting " +
         RangeText(MainSettings::kMove) + "\n";
}

const char kOptionsUsage[] =
    "  --screen WxH    frame size (default 1280x720)            --frames N   OUT then holds %d, e.g. f%03d.png\n"
    "  --seed N        every re-seed takes this value: the same options give the same bytes everywhere\n"
    "  --plugin FILE   a plug-in library as the method (a shared object here, a DLL on Windows)\n"
    "  --cut FILE      skip the composer: this picture, as it is, is the cut; write that unit's tile\n"
    "  --tile          write the first frame's tile instead of the frame\n";

// Largest frame side: a 16384 x 16384 frame is 768 MiB, about what a
// 32-bit process can still hold.
constexpr int kMaxScreenSide = 16384;
constexpr int kMaxFrames = 100000;


bool ParseInt(const std::string& text, int64_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first == last) return false;
  auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last;
}

int64_t IntInRange(const std::string& option, const std::string& text, int64_t low, int64_t high) {
  int64_t value = 0;
  if (!ParseInt(text, value))
    throw RenderError(option + " takes a whole number, not '" + text + "'");
  if (value < low || value > high)
    throw RenderError(option + " " + text + " is out of range " + std::to_string(low) + ".." +
                      std::to_string(high));
  return value;
}

int ParseMethod(const std::string& text) {
  for (const MethodRow& m : MethodRows())
    if (!m.CliName.empty() && text == m.CliName) return m.Type;
  int64_t value = 0;
  if (ParseInt(text, value) && value >= 0 && value <= 255) return static_cast<int>(value);
  throw RenderError("unknown method '" + text + "'");
}

int ParseMotion(const std::string& text) {
  if (text == "line") return kMoveLine;
  if (text == "curve") return kMoveCurve;
  if (text == "slideshow") return kMoveSlideShow;
  throw RenderError("unknown motion '" + text + "' (line, curve or slideshow)");
}

void ParseScreen(const std::string& text, RenderOptions& o) {
  size_t x = text.find('x');
  if (x == std::string::npos) throw RenderError("--screen takes WxH, e.g. 1280x720, not '" + text + "'");
  o.screenWidth = static_cast<int>(IntInRange("--screen width", text.substr(0, x), 1, kMaxScreenSide));
  o.screenHeight = static_cast<int>(IntInRange("--screen height", text.substr(x + 1), 1, kMaxScreenSide));
}

// The pieces of an OUT pattern around its one conversion.
struct FramePattern {
  std::string before, after;
  bool zeros = false;
  int width = 0;
};

FramePattern SplitPattern(const std::string& pattern) {
  FramePattern p;
  bool found = false;
  std::string* part = &p.before;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%') {
      *part += c;
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      *part += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool zeros = j < pattern.size() && pattern[j] == '0';
    if (zeros) ++j;
    int width = 0;
    if (j < pattern.size() && pattern[j] >= '1' && pattern[j] <= '9') width = pattern[j++] - '0';
    if (found || j >= pattern.size() || pattern[j] != 'd')
      throw RenderError("with --frames, OUT must hold exactly one %d (or %0Nd), not '" + pattern + "'");
    found = true;
    p.zeros = zeros;
    p.width = width;
    part = &p.after;
    i = j;
  }
  if (!found) throw RenderError("with --frames, OUT must hold one %d, e.g. f%03d.png");
  return p;
}

}  // namespace

std::string MethodNames() {
  std::string names;
  for (const MethodRow& m : MethodRows()) {
    if (m.CliName.empty()) continue;
    if (!names.empty()) names += " | ";
    names += m.CliName;
  }
  return names;
}

std::string Usage() {
  return "tessivane-render [options] OUT.png\n"
         "  --method M      " + MethodNames() + ",\n"
         "                  or a type number (--list-methods prints the names, one a line)\n" +
         SettingsUsage() + kOptionsUsage;
}

std::string FrameFileName(const std::string& pattern, int number) {
  FramePattern p = SplitPattern(pattern);
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < p.width)
    digits.insert(0, static_cast<size_t>(p.width) - digits.size(), p.zeros ? '0' : ' ');
  return p.before + digits + p.after;
}

RenderOptions ParseRenderOptions(const std::vector<std::string>& args) {
  RenderOptions o;
  bool methodGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw RenderError(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
      return o;
    } else if (a == "--list-methods") {
      o.listMethods = true;
      return o;
    } else if (a == "--method") {
      o.unitType = ParseMethod(value());
      methodGiven = true;
    } else if (a == "--plugin") {
      o.plugin = value();
      if (o.plugin.empty()) throw RenderError("--plugin needs a file name");
    } else if (a == "--size") {
      o.size = static_cast<int>(IntInRange(a, value(), MainSettings::kSize.min, MainSettings::kSize.max));
    } else if (a == "--aspect") {
      o.aspect = static_cast<int>(IntInRange(a, value(), MethodOptions::kAspect.min, MethodOptions::kAspect.max));
    } else if (a == "--rotate") {
      o.rotate = static_cast<int>(IntInRange(a, value(), MethodOptions::kRotate.min, MethodOptions::kRotate.max));
    } else if (a == "--shuffle") {
      o.shuffle = true;
    } else if (a == "--blur") {
      o.blur = true;
    } else if (a == "--mono") {
      o.mono = true;
    } else if (a == "--brightness") {
      o.brightness = true;
    } else if (a == "--source") {
      o.source = value();
      if (o.source.empty()) throw RenderError("--source needs a value");
    } else if (a == "--motion") {
      o.motion = ParseMotion(value());
    } else if (a == "--speed") {
      o.speed = static_cast<int>(IntInRange(a, value(), MainSettings::kMove.min, MainSettings::kMove.max));
    } else if (a == "--screen") {
      ParseScreen(value(), o);
    } else if (a == "--frames") {
      o.frames = static_cast<int>(IntInRange(a, value(), 1, kMaxFrames));
      o.framesGiven = true;
    } else if (a == "--seed") {
      o.seed = static_cast<uint32_t>(IntInRange(a, value(), 0, UINT32_MAX));
    } else if (a == "--cut") {
      o.cut = value();
      if (o.cut.empty()) throw RenderError("--cut needs a file name");
    } else if (a == "--tile") {
      o.tile = true;
    } else if (a.size() > 1 && a[0] == '-') {
      throw RenderError("unknown option '" + a + "'");
    } else if (o.out.empty()) {
      o.out = a;
    } else {
      throw RenderError("more than one output file ('" + o.out + "' and '" + a + "')");
    }
  }
  if (!o.plugin.empty()) {
    if (methodGiven) throw RenderError("--plugin is the method; --method does not apply");
    o.unitType = kMethodTypePlugin;
  }
  if (o.out.empty()) throw RenderError("no output file given (see --help)");
  if (o.framesGiven) SplitPattern(o.out);  // checked before anything runs
  if (!o.cut.empty() && o.framesGiven) throw RenderError("--cut writes one tile; --frames does not apply");
  return o;
}

}  // namespace tessivane::render
