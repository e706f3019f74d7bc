// The command line of tessivane-render.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cli/CommandOptions.h"

namespace tessivane::render {

// The usage text that --help prints.
std::string Usage();

// A command line that cannot be carried out; what() is one line for the user.
using RenderError = OptionError;

// The shared options (cli/CommandOptions.h) and the renderer's own.
struct RenderOptions : CommonOptions {
  bool help = false;
  bool listMethods = false;       // print the --method names, one a line
  std::string source = "random";  // "random", a picture file or a folder
  int screenWidth = 1280;
  int screenHeight = 720;
  int frames = 1;
  bool framesGiven = false;  // OUT is then a pattern with one %d
  std::string cut;           // a picture that is the cut itself; empty for none
  bool tile = false;         // write the tile instead of the frame
  std::string out;
};

// The renderer's own option rows (the shared ones are CommonOptionRows).
std::span<const OptionRow<RenderOptions>> RenderOptionRows();

// Parses the arguments after the program name. Throws RenderError.
RenderOptions ParseRenderOptions(const std::vector<std::string>& args);

// The file name of frame `number` (from 1) for an OUT pattern holding one
// %d conversion (with an optional zero flag and width, e.g. %03d); "%%"
// stands for a per cent sign. Throws RenderError for any other pattern.
std::string FrameFileName(const std::string& pattern, int number);

}  // namespace tessivane::render
