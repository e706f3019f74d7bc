// Everything one run of the kaleidoscope needs, whichever front end starts
// it: the Windows saver reads it from the settings records, the X11 saver
// and the renderer from their command options (cli/CommandOptions.h). The
// frame loop runs from it alone.
#pragma once
#include <cstdint>
#include <string>

#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

namespace tessivane {

struct RunConfig {
  // The method: a type number of the method table; kMethodTypeRandom draws
  // one of those marked in RandomSet (one "0"/"1" per stored method code),
  // kMethodTypePlugin is the plug-in library PluginFile.
  int MethodType = 1;
  std::string PluginFile;
  // The built-in method a run takes instead of a plug-in that cannot be
  // used (the settings' own method, which may be kMethodTypeRandom).
  int FallbackMethodType = 1;
  std::string RandomSet = MethodOptions::DefaultRandom();
  int32_t RectangleAspect = MethodOptions::kAspect.initial;  // aspect step of the rectangle method
  int32_t NoneAspect = MethodOptions::kAspect.initial;       // aspect step of the no-conversion method
  int32_t Rotate = MethodOptions::kRotate.initial;           // value of the distorted-square method
  int32_t Size = MainSettings::kSize.initial;                // the cut is CutSideOf(Size) pixels
  int32_t Move = MainSettings::kMove.initial;                // speed of the sampling position
  uint8_t MovePositionType = 0;                              // motion kind 0..2
  int32_t Weight = MainSettings::kWeight.initial;            // FrameInterval(Weight, MovePositionType)
  // The source picture: the random picture, the file BmpFileName, or a
  // picture of ImageFolderName every ImageChangeTime seconds.
  uint8_t FileType = kFileTypeRandom;
  std::string BmpFileName;
  std::string ImageFolderName;
  int32_t ImageChangeTime = 60;
  int32_t FadeTime = MainSettings::kFadeTime.initial;  // tenths of a second a change fades; 0: a cut
  bool Blur = false;
  bool MonoTone = false;
  bool BrightnessChange = false;
  bool Shuffle = false;
};

// The run the settings records describe (the Windows saver).
RunConfig RunConfigOf(const MainSettings& settings, const MethodOptions& options);

// Throws std::invalid_argument naming the first value no run can take:
// the source kind outside 1..3, the motion kind above 2, a negative change
// time or a fade time outside MainSettings::kFadeTime. The records and
// the option tables bring every value inside before it gets here; the
// frame loop checks the description it is given once, when it takes it.
// Size, Move and Weight pass as they are: a run shows what they give (the
// cut's error 1 or 2, a still picture).
void CheckRunConfig(const RunConfig& config);

}  // namespace tessivane
