#include "pattern/NoConversionMethod.h"

#include "pattern/TilePainting.h"

namespace tessivane {

void NoConversionMethod::BuildMap() { BuildWholeCutMap(*this, CutWidth, CutHeight); }

void NoConversionMethod::MakeTile() {
  Tile.SetSize(CutWidth, CutHeight);
  PaintMappedArea(*this, CutWidth, CutHeight, false);
}

}  // namespace tessivane
