#include "settings/RunConfig.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

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
  c.CutSide = CutSideOf(s.Size);
  c.Speed = s.Move;
  c.Motion = s.MovePositionType;
  c.FrameIntervalMs = FrameInterval(s.Weight, s.MovePositionType);
  c.Source = s.FileType;
  c.PictureFile = s.BmpFileName;
  c.PictureFolder = s.ImageFolderName;
  c.ChangeSeconds = s.ImageChangeTime;
  c.FadeTenths = s.FadeTime;
  c.Blur = s.Blur;
  c.MonoTone = s.MonoTone;
  c.BrightnessChange = s.BrightnessChange;
  c.Shuffle = s.Shuffle;
  return c;
}

uint32_t FrameInterval(int32_t weight, uint8_t motion) {
  const uint32_t w = static_cast<uint32_t>(weight);
  if (motion == kMoveSlideShow) return (w - 1) * 500 + 100;
  return w * 10;
}

namespace {

void CheckValue(const char* name, int64_t value, int64_t low, int64_t high) {
  if (value < low || value > high)
    throw std::invalid_argument("the run's " + std::string(name) + " is " + std::to_string(value) +
                                ", outside " + std::to_string(low) + ".." + std::to_string(high));
}

}  // namespace

void CheckRunConfig(const RunConfig& c) {
  CheckValue("Source", c.Source, kFileTypeRandom, kFileTypeFolder);
  CheckValue("Motion", c.Motion, kMoveLine, kMoveSlideShow);
  CheckValue("ChangeSeconds", c.ChangeSeconds, 0, std::numeric_limits<int32_t>::max());
  CheckValue("FadeTenths", c.FadeTenths, kFadeSetting.min, kFadeSetting.max);
}

}  // namespace tessivane
