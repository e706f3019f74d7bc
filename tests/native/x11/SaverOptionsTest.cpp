#include "x11/SaverOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/CommandOptions.h"
#include "saver/SourcePicture.h"
#include "settings/MainSettings.h"
#include "settings/MemorySettingsStore.h"
#include "settings/MethodOptions.h"
#include "pattern/MethodTable.h"

namespace tessivane::x11 {
namespace {

TEST(SaverOptions, DefaultsAreTheRecordsDefaults) {
  MemorySettingsStore empty;
  MainSettings s(empty);
  MethodOptions m(empty);
  SaverOptions o = ParseSaverOptions({}, std::nullopt);
  EXPECT_EQ(o.size, s.Size);
  EXPECT_EQ(o.speed, s.Move);
  EXPECT_EQ(o.wait, s.Weight);
  EXPECT_EQ(o.change, s.ImageChangeTime);
  EXPECT_EQ(o.motion, s.MovePositionType);
  EXPECT_EQ(o.unitType, s.UnitType);
  EXPECT_EQ(o.rotate, m.Rotate);
  EXPECT_EQ(o.aspect, m.XY);
  EXPECT_EQ(o.randomSet, m.Random);
}

TEST(SaverOptions, TheTargetWindow) {
  const struct {
    std::vector<std::string> args;
    std::optional<std::string> env;
    Target target;
    uint32_t id;
  } cases[] = {
      {{}, std::nullopt, Target::kOwnWindow, 0},
      {{"-root"}, std::nullopt, Target::kRoot, 0},
      {{"-root"}, "0x1c00005", Target::kWindowId, 0x1c00005},
      {{}, "4711", Target::kWindowId, 4711},
      {{"--window-id", "0x2A", "-root"}, "4711", Target::kWindowId, 42},
      {{"-root", "--window"}, std::nullopt, Target::kOwnWindow, 0},
  };
  for (const auto& c : cases) {
    SaverOptions o = ParseSaverOptions(c.args, c.env);
    EXPECT_EQ(o.target, c.target) << c.args.size();
    EXPECT_EQ(o.windowId, c.id);
  }
  for (const char* bad : {"", "0", "0x", "-5", "12a", "0x20000000", "99999999999"})
    EXPECT_THROW(ParseWindowId("-window-id", bad), OptionError) << bad;
}

// -delay is XScreenSaver's microseconds; without it the frame loop's
// interval from -wait, the Windows scale, stays.
TEST(SaverOptions, TheDelayAfterEachFrame) {
  const struct {
    std::vector<std::string> args;
    int64_t micros;
  } cases[] = {
      {{}, 10000},
      {{"--delay", "20000"}, 20000},
      {{"-wait", "7"}, 70000},
      {{"-wait", "3", "-motion", "slideshow"}, 1100000},
      {{"-delay", "0"}, 0},
  };
  for (const auto& c : cases) {
    SaverOptions o = ParseSaverOptions(c.args, std::nullopt);
    const RunConfig s = RunConfigOf(o);
    EXPECT_EQ(FrameDelay(o, s.FrameIntervalMs).count(), c.micros) << c.args.size();
  }
}

TEST(SaverOptions, TheLastFpsSwitchCounts) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{}, false}, {{"-fps"}, true}, {{"-fps", "--no-fps"}, false}, {{"-no-fps", "--fps"}, true}};
  for (const auto& [args, shown] : cases) EXPECT_EQ(ParseSaverOptions(args, std::nullopt).ShowFps, shown);
}

// Of -file, -folder and -xscreensaver-images the last counts and a notice
// names the others; an error says what a value is not. Each case: the
// arguments, the notice or error, the file type (0: XScreenSaver's folder).
TEST(SaverOptions, TheLastPictureSourceCountsAndErrorsNameWhatIsWrong) {
  const std::string pic = TESSIVANE_PROGRAM, last = ", given last, is the picture source";
  const std::tuple<std::vector<std::string>, std::string, uint8_t> cases[] = {
      {{"-file", pic, "--folder", "."}, "-file " + pic + " ignored: --folder ." + last, kFileTypeFolder},
      {{"-file", pic, "-folder", "/none", "-file", pic, "-xscreensaver-images"},
       "-file " + pic + ", -folder /none, -file " + pic + " ignored: -xscreensaver-images" + last,
       0},
      {{"-file", "", "-folder", "."}, "-file needs a file name", 0},
      {{"-visual", "0x0"}, "-visual: '0x0' is not a visual id", 0},
  };
  for (const auto& [args, said, fileType] : cases) {
    try {
      const SaverOptions o = ParseSaverOptions(args, std::nullopt);
      EXPECT_EQ(RunConfigOf(o).Source, fileType ? fileType : kFileTypeRandom) << said;
      EXPECT_EQ(o.xscreensaverImages, fileType == 0);
      EXPECT_EQ(o.notices, std::vector<std::string>{said});
    } catch (const OptionError& e) {
      EXPECT_EQ(e.what(), said);
    }
  }
}

TEST(SaverOptions, BecomeTheRunTheFrameLoopMakes) {
  SaverOptions o = ParseSaverOptions(
      {"-method", "random", "-random-from", "spiral",    "-size",   "16",    "-speed",   "9",
       "-wait",   "50",     "-motion",      "slideshow", "-aspect", "-2",    "-rotate",  "7",
       "-folder", ".",      "-change",      "5",         "-blur",   "-mono", "-shuffle", "-brightness"},
      std::nullopt);
  const RunConfig s = RunConfigOf(o);
  EXPECT_EQ(s.Source, kFileTypeFolder);
  EXPECT_EQ(s.PictureFolder, ".");
  EXPECT_EQ(s.ChangeSeconds, 5);
  EXPECT_EQ(s.CutSide, 64);
  EXPECT_EQ(s.Speed, 9);
  EXPECT_EQ(s.FrameIntervalMs, 24600u);
  EXPECT_TRUE(s.Blur && s.MonoTone && s.Shuffle && s.BrightnessChange);
  EXPECT_EQ(s.RectangleAspect, -2);
  EXPECT_EQ(s.NoneAspect, -2);
  EXPECT_EQ(s.Rotate, 7);
  EXPECT_EQ(ChooseRunMethodType(s.MethodType, s.RandomSet, ProgramRandom()),
            11);  // only the spiral to draw from

  // The settings dialog gives both: the plug-in is the method.
  const RunConfig p =
      RunConfigOf(ParseSaverOptions({"-method", "carpet", "-plugin", "lib.so"}, std::nullopt));
  EXPECT_EQ(p.MethodType, kMethodTypePlugin);
  EXPECT_EQ(p.PluginFile, "./lib.so");
}

TEST(SaverOptions, TheRandomChoicesDefaultInTheHelpComesFromTheMethodTable) {
  EXPECT_EQ(RandomDefaultNames(), "kaleidoscope..floral");
  std::vector<MethodRow> rows(MethodRows().begin(), MethodRows().end());
  int type = 0;
  for (const MethodRow& row : rows) type = std::max(type, row.Type + 1);
  rows.push_back({type, MethodCodeCount(), MethodListCount() - 1, TextId::kMethodSpiral, "extra",
                  [](const ComposerParams& p) { return CreateMethodByType(11, p); }, false,
                  AspectSetting::None, true, true});
  ScopedMethodRows extended(rows);
  EXPECT_EQ(RandomDefaultNames(), "kaleidoscope,carpet,tablecloth,tile,rectangle,none,floral,extra");
}

}  // namespace
}  // namespace tessivane::x11
