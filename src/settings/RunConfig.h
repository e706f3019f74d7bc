// Everything one run of the kaleidoscope needs, whichever front end starts
// it, in the project's own words: the Windows saver builds it from the
// settings records (RunConfigOf below, the one place where the registry's
// names meet these), the X11 saver and the renderer from their command
// options (cli/CommandOptions.h). The frame loop runs from it alone.
#pragma once
#include <cstdint>
#include <string>

#include "pattern/MethodTable.h"
#include "settings/RunValues.h"

namespace tessivane {

class MainSettings;
class MethodOptions;

struct RunConfig {
  // The method: a type number of the method table; kMethodTypeRandom draws
  // one of those marked in RandomSet (one "0"/"1" per stored method code),
  // kMethodTypePlugin is the plug-in library PluginFile, and
  // FallbackMethodType the built-in method a run takes instead of a plug-in
  // that cannot be used (may be kMethodTypeRandom).
  int MethodType = 1;
  std::string PluginFile;
  int FallbackMethodType = 1;
  std::string RandomSet = DefaultRandomSet();
  int32_t RectangleAspect = kAspectSetting.initial;  // aspect step of the rectangle method
  int32_t NoneAspect = kAspectSetting.initial;       // aspect step of the no-conversion method
  int32_t Rotate = kRotateSetting.initial;           // repeats of the distorted-square method
  // The piece and its motion.
  int64_t CutSide = CutSideOf(kSizeSetting.initial);  // the square cut's side, in pixels
  int32_t Speed = kSpeedSetting.initial;              // how far the cut moves a frame
  uint8_t Motion = 0;                                 // motion kind 0..2 (kMoveLine ...)
  uint32_t FrameIntervalMs = 10;  // from the end of a frame to the next; 0: one frame, then still
  // The source picture: the random picture, the file PictureFile, or a
  // picture of PictureFolder every ChangeSeconds.
  uint8_t Source = kFileTypeRandom;
  std::string PictureFile;
  std::string PictureFolder;
  int32_t ChangeSeconds = 60;
  int32_t FadeTenths = kFadeSetting.initial;  // tenths of a second a change fades; 0: a cut
  bool Blur = false;
  bool MonoTone = false;
  bool BrightnessChange = false;
  bool Shuffle = false;
};

// The run the settings records describe (the Windows saver): the one place
// where the registry's names (TransType, UnitType, Weight, Move,
// MovePositionType, BmpFileName, XY, ...) become the run's words.
RunConfig RunConfigOf(const MainSettings& settings, const MethodOptions& options);

// Throws std::invalid_argument naming the first value no run can take:
// the source kind outside 1..3, the motion kind above 2, a negative change
// time or a fade time outside kFadeSetting. The records and the option
// tables bring every value inside before it gets here; the frame loop
// checks the description it is given once, when it takes it. The cut side,
// speed and interval pass as they are: a run shows what they give (the
// cut's error 1 or 2, a still picture).
void CheckRunConfig(const RunConfig& config);

}  // namespace tessivane
