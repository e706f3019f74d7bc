#include "settings/RunConfig.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"

namespace tessivane {

RunConfig RunConfigOf(const MainSettings& s, const MethodOptions& m) {
  RunConfig c;
  c.MethodType = s.TransType == kTransPlugin ? kMethodTypePlugin : s.UnitType;
  c.PluginFile = s.DllFileName;
  c.FallbackMethodType = s.UnitType;
  c.RandomSet = m.Random;
  c.RectangleAspect = m.XY;
  c.NoneAspect = m.NoneXY;
  c.Rotate = m.Rotate;
  c.Size = s.Size;
  c.Move = s.Move;
  c.MovePositionType = s.MovePositionType;
  c.Weight = s.Weight;
  c.FileType = s.FileType;
  c.BmpFileName = s.BmpFileName;
  c.ImageFolderName = s.ImageFolderName;
  c.ImageChangeTime = s.ImageChangeTime;
  c.FadeTime = s.FadeTime;
  c.Blur = s.Blur;
  c.MonoTone = s.MonoTone;
  c.BrightnessChange = s.BrightnessChange;
  c.Shuffle = s.Shuffle;
  return c;
}

namespace {

void CheckValue(const char* name, int64_t value, int64_t low, int64_t high) {
  if (value < low || value > high)
    throw std::invalid_argument("the run's " + std::string(name) + " is " + std::to_string(value) +
                                ", outside " + std::to_string(low) + ".." + std::to_string(high));
}

}  // namespace

void CheckRunConfig(const RunConfig& c) {
  CheckValue("FileType", c.FileType, kFileTypeRandom, kFileTypeFolder);
  CheckValue("MovePositionType", c.MovePositionType, kMoveLine, kMoveSlideShow);
  CheckValue("ImageChangeTime", c.ImageChangeTime, 0, std::numeric_limits<int32_t>::max());
  CheckValue("FadeTime", c.FadeTime, MainSettings::kFadeTime.min, MainSettings::kFadeTime.max);
}

}  // namespace tessivane
