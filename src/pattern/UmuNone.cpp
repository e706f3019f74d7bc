#include "pattern/UmuNone.h"

#include "pattern/UmuShikaku.h"
#include "pattern/UnitTile.h"

namespace tessivane {

void TNone::BuildMap() { BuildWholeCutMap(*this, CutWidth, CutHeight); }

void TNone::MakeTile() {
  Tile.SetSize(CutWidth, CutHeight);
  PaintMappedArea(*this, CutWidth, CutHeight, false);
}

}  // namespace tessivane
