// PNG files of the renderer, through libpng.
#pragma once
#include <filesystem>
#include <string>

#include "base/Bitmap.h"

namespace tessivane::render {

// The path of a UTF-8 file name.
std::filesystem::path PathFromUtf8(const std::string& name);

// Writes bitmap as an 8-bit RGB PNG. The file appears complete or not at
// all: it is written beside the target and renamed over it. Throws
// RenderError.
void WritePng(const Bitmap& bitmap, const std::string& name);

}  // namespace tessivane::render
