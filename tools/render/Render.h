// What tessivane-render does with a parsed command line.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "render/RenderOptions.h"

namespace tessivane::render {

// Renders as the options say and hands each picture to `sink` with its
// number (from 1): the frames (or their tiles), or the one tile of --cut.
// Resolves "choose at random" first. Throws RenderError.
void RenderEach(const RenderOptions& options, const std::function<void(const Bitmap&, int)>& sink);

// RenderEach, writing OUT (or the frame names of the OUT pattern). On a
// failure, the files this run already wrote are removed again.
void Render(const RenderOptions& options);

}  // namespace tessivane::render
