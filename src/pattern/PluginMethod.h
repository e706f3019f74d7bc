// The plug-in method: a user's library decides which pixel of the cut shows
// at each position of the tile. The library is consulted only while the
// method is set up: BuildMap loads it, asks it for the size of the area it
// maps, asks once for the source point of every position of that area, asks
// which mirroring completes the tile, and unloads it again. Frames are made
// from its answers alone, by the painter every method shares, without any
// plug-in code.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "pattern/ConversionMethod.h"

namespace tessivane {

class PluginMethod : public ConversionMethod {
public:
  // `fileName`: the library's path (UTF-8), as the setting "DllFileName"
  // holds it.
  explicit PluginMethod(std::string fileName = {});

  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
  // Error 13 (an identification other than TESSIVANE_PLUGIN_ID) when the
  // last set-up noted it and carried on; number 0 otherwise.
  const UnitFailure& NoticeForTesting() const { return notice_; }

protected:
  // Asks the library FileName(), in this order: the four exports looked
  // up ("TessivaneDLL", "MakeImageSize", "MakeTransMethod",
  // "SymmetryType"; error 8 names the first missing one), the
  // identification (an answer other than TESSIVANE_PLUGIN_ID is noted as
  // error 13 and the set-up carries on), the area size (errors 9, 15, 10,
  // 16), the source point of every position (errors 11, 17, 12, 18 for the
  // first bad one), the symmetry type (error 14). The library is unloaded
  // on every path. The conversation runs through the installed
  // PluginCallRunner. The area is the last size answered (0 x 0 on a fresh
  // object), also after a failure.
  UnitFailure BuildMap() override;

private:
  std::string fileName_;
  UnitFailure notice_;
};

}  // namespace tessivane
