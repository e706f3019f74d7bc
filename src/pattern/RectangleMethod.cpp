#include "pattern/RectangleMethod.h"

#include "pattern/TilePainting.h"

namespace tessivane {

void RectangleMethod::BuildMap() { BuildWholeCutMap(*this, CutWidth, CutHeight); }

void RectangleMethod::MakeTile() { MakeMirroredTile(*this, CutWidth, CutHeight); }

}  // namespace tessivane
