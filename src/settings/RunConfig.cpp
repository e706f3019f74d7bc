#include "settings/RunConfig.h"

#include "pattern/MethodTable.h"

namespace tessivane {

RunConfig RunConfigOf(const MainSettings& s, const MethodOptions& m) {
  RunConfig c;
  c.MethodType = s.TransType == kTransPlugin ? kMethodTypePlugin : s.UnitType;
  c.PluginFile = s.DllFileName;
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

}  // namespace tessivane
