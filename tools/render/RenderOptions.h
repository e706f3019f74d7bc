// The command line of tessivane-render.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"

namespace tessivane::render {

// The usage text that --help prints.
std::string Usage();
// The conversion methods' --method names, " | " between them.
std::string MethodNames();

// A command line that cannot be carried out; what() is one line for the user.
class RenderError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct RenderOptions {
  bool help = false;
  bool listMethods = false;  // print the --method names, one a line
  int unitType = 1;        // conversion-method type number; 8 = choose at random, 9 = --plugin
  int size = MainSettings::kSize.initial;  // the Size setting; the cut is CutSideOf(size)
  int aspect = MethodOptions::kAspect.initial;  // aspect step of the rectangle and no-conversion methods
  int rotate = MethodOptions::kRotate.initial;  // value of the distorted-square method
  bool shuffle = false;
  bool blur = false;
  bool mono = false;
  bool brightness = false;
  std::string source = "random";  // "random", a picture file or a folder
  int motion = 0;          // 0 line, 1 curve, 2 slide show
  int speed = MainSettings::kMove.initial;  // the Move setting
  int screenWidth = 1280;
  int screenHeight = 720;
  int frames = 1;
  bool framesGiven = false;  // OUT is then a pattern with one %d
  std::optional<uint32_t> seed;
  std::string plugin;        // --plugin: the plug-in library that is the method; empty for none
  std::string cut;           // a picture that is the cut itself; empty for none
  bool tile = false;         // write the tile instead of the frame
  std::string out;
};

// Parses the arguments after the program name. Throws RenderError.
RenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// The file name of frame `number` (from 1) for an OUT pattern holding one
// %d conversion (with an optional zero flag and width, e.g. %03d); "%%"
// stands for a per cent sign. Throws RenderError for any other pattern.
std::string FrameFileName(const std::string& pattern, int number);

}  // namespace tessivane::render
