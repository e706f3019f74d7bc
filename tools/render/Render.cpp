#include "render/Render.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/Errors.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "images/EffectLib.h"
#include "images/UImageShelf.h"
#include "images/URandomImage.h"
#include "pattern/RandomMethod.h"
#include "pattern/UMakeImage.h"
#include "pattern/UnitFactory.h"
#include "render/PngFile.h"
#include "settings/UOptionReg.h"

namespace tessivane::render {
namespace {

// The random picture's size, as the saver paints it.
constexpr int kRandomWidth = 640;
constexpr int kRandomHeight = 480;
// The method choice of the default options: kaleidoscope to floral.
constexpr char kDefaultRandom[] = "11111111";

// A unit error as one line: its message, the number, and the detail.
[[noreturn]] void FailUnit(int errorNo, const std::string& detail) {
  std::string line;
  for (char c : FormatUnitError(errorNo, detail)) {
    if (c == '\r') continue;  // CR LF becomes one space
    line += c == '\n' ? ' ' : c;
  }
  throw RenderError("error " + std::to_string(errorNo) + ": " + line);
}

Bitmap LoadPictureFile(const std::string& name) {
  try {
    return LoadPicture(name);
  } catch (const std::exception& e) {
    throw RenderError("cannot read picture '" + name + "': " + e.what());
  }
}

int ResolveType(int type) {
  if (type != kUnitTypeRandom) return type;
  return ChooseRandomUnitType(TOptionReg::NormalizeRandom(kDefaultRandom));
}

TMakeImageParam ParamOf(const RenderOptions& o) {
  TMakeImageParam param;
  param.Rotate = o.rotate;
  param.MovePositionType = static_cast<uint8_t>(o.motion);
  return param;
}

// --cut: the picture is the cut; one tile of that unit.
void RenderCut(const RenderOptions& o, int type, const std::function<void(const Bitmap&, int)>& sink) {
  Bitmap cut = LoadPictureFile(o.cut);
  std::unique_ptr<TMakeUnit> unit = CreateUnitByType(type, ParamOf(o));
  if (!unit) FailUnit(kErrBadMethod, "");
  if (!unit->Setup({cut.Width(), cut.Height()}, o.shuffle)) FailUnit(unit->ErrorNo, unit->ErrorText);
  if (!unit->Make(cut)) FailUnit(unit->ErrorNo, unit->ErrorText);
  sink(unit->Tile, 1);
}

}  // namespace

Bitmap LoadSource(const RenderOptions& o) {
  Bitmap source;
  if (o.source == "random") {
    source.SetSize(kRandomWidth, kRandomHeight);
    MakeRandomImage(source);
  } else {
    std::error_code ec;
    if (std::filesystem::is_directory(PathFromUtf8(o.source), ec)) {
      try {
        TImageShelf shelf(o.source);
        shelf.GetImage(source);
      } catch (const std::exception& e) {
        throw RenderError("no picture from folder '" + o.source + "': " + e.what());
      }
    } else {
      source = LoadPictureFile(o.source);
    }
  }
  if (o.blur) BlurBitmap(source);
  if (o.mono) MonotoneBitmap(source);
  return source;
}

void RenderEach(const RenderOptions& o, const std::function<void(const Bitmap&, int)>& sink) {
  std::unique_ptr<ScopedSeedSource> seed;
  if (o.seed) seed = std::make_unique<ScopedSeedSource>(FixedSeed(*o.seed));
  const int type = ResolveType(o.unitType);
  if (!o.cut.empty()) return RenderCut(o, type, sink);

  // The saver's order: composer, source picture, preparation, frames.
  auto composer = std::make_unique<TMakeImage>(type, ParamOf(o));
  if (composer->ErrorNo != 0) FailUnit(composer->ErrorNo, composer->ErrorText);
  Bitmap source = LoadSource(o);
  try {
    composer->Prepare({o.screenWidth, o.screenHeight}, source, 4 * o.size, o.speed, o.aspect, o.shuffle,
                      o.brightness);
  } catch (const SilentAbort&) {
    FailUnit(composer->ErrorNo, composer->ErrorText);
  }
  for (int frame = 1; frame <= o.frames; ++frame) {
    try {
      composer->Make();
    } catch (const SilentAbort&) {
      FailUnit(composer->ErrorNo, composer->ErrorText);
    }
    sink(o.tile ? composer->MakeUnit->Tile : composer->Image, frame);
  }
}

void Render(const RenderOptions& o) {
  std::vector<std::string> written;
  try {
    RenderEach(o, [&](const Bitmap& picture, int number) {
      std::string name = o.framesGiven ? FrameFileName(o.out, number) : o.out;
      WritePng(picture, name);
      written.push_back(name);
    });
  } catch (...) {
    for (const std::string& name : written) {
      std::error_code ignored;
      std::filesystem::remove(PathFromUtf8(name), ignored);
    }
    throw;
  }
}

}  // namespace tessivane::render
