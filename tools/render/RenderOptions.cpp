#include "render/RenderOptions.h"

#include <cstdint>
#include <span>

namespace tessivane::render {

namespace {

// Largest frame side: a 16384 x 16384 frame is 768 MiB, about what a
// 32-bit process can still hold.
constexpr int kMaxScreenSide = 16384;
constexpr int kMaxFrames = 100000;

void ApplyScreen(RenderOptions& o, const std::string& option, const std::string& text) {
  size_t x = text.find('x');
  if (x == std::string::npos) throw RenderError("--screen takes WxH, e.g. 1280x720, not '" + text + "'");
  o.screenWidth = static_cast<int>(IntInRange("--screen width", text.substr(0, x), 1, kMaxScreenSide));
  o.screenHeight = static_cast<int>(IntInRange("--screen height", text.substr(x + 1), 1, kMaxScreenSide));
}

void ApplySource(RenderOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw RenderError(option + " needs a value");
  o.source = text;
}

void ApplyFrames(RenderOptions& o, const std::string& option, const std::string& text) {
  o.frames = static_cast<int>(IntInRange(option, text, 1, kMaxFrames));
  o.framesGiven = true;
}

void ApplyCut(RenderOptions& o, const std::string& option, const std::string& text) {
  if (text.empty()) throw RenderError(option + " needs a file name");
  o.cut = text;
}

using R = RenderOptions;
const OptionRow<R> kRenderRows[] = {
    {.Name = "source",
     .Value = "S",
     .Help = "random (default) | a picture file | a folder of pictures",
     .Apply = ApplySource},
    {.Name = "screen", .Value = "WxH", .Help = "frame size (default 1280x720)", .Apply = ApplyScreen},
    {.Name = "frames",
     .Value = "N",
     .Help = "N frames; OUT then holds %d, e.g. f%03d.png",
     .Apply = ApplyFrames},
    {.Name = "cut",
     .Value = "FILE",
     .Help = "skip the composer: this picture, as it is, is the cut piece; write its tile",
     .Apply = ApplyCut},
    {.Name = "tile", .Help = "write the first frame's tile instead of the frame", .Flag = &R::tile},
    {.Name = "list-methods", .Help = "print the --method names, one a line", .Flag = &R::listMethods},
};

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

std::span<const OptionRow<RenderOptions>> RenderOptionRows() { return kRenderRows; }

std::string Usage() {
  return "tessivane-render [options] OUT.png\n" + OptionUsage(CommonOptionRows(), "--") +
         OptionUsage(RenderOptionRows(), "--");
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
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
      return o;
    }
    if (TakeOption(CommonOptionRows(), args, i, static_cast<CommonOptions&>(o))) {
      if (o.version) return o;
      continue;
    }
    if (TakeOption(RenderOptionRows(), args, i, o)) {
      if (o.listMethods) return o;
      continue;
    }
    if (a.size() > 1 && a[0] == '-') throw RenderError("unknown option '" + a + "'");
    if (!o.out.empty()) throw RenderError("more than one output file ('" + o.out + "' and '" + a + "')");
    o.out = a;
  }
  FinishCommonOptions(o);
  if (o.out.empty()) throw RenderError("no output file given (see --help)");
  if (o.framesGiven) SplitPattern(o.out);  // checked before anything runs
  if (!o.cut.empty() && o.framesGiven) throw RenderError("--cut writes one tile; --frames does not apply");
  return o;
}

}  // namespace tessivane::render
