#include "render/Render.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "base/Errors.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "pattern/Composer.h"
#include "pattern/MethodTable.h"
#include "render/PngFile.h"
#include "images/ImageShelf.h"
#include "saver/PictureFade.h"
#include "saver/SourcePicture.h"
#include "settings/MethodOptions.h"
#include "settings/MainSettings.h"

namespace tessivane::render {
namespace {

// A unit error as one line: the number, its message and the detail.
[[noreturn]] void FailUnit(const UnitFailure& failure) {
  const std::string& detail = failure.detail;
  throw RenderError("error " + std::to_string(failure.number) + ": " +
                    OneLine(UnitErrorMessage(failure.number) + (detail.empty() ? "" : "\n" + detail)));
}

Bitmap LoadPictureFile(const std::string& name) {
  try {
    return LoadPicture(name);
  } catch (const std::exception& e) {
    throw RenderError("cannot read picture '" + name + "': " + OneLine(e.what()));
  }
}

int ResolveType(const RenderOptions& o) {
  return ChooseRunMethodType(o.plugin.empty() ? kTransBasic : kTransPlugin, o.unitType, o.randomSet,
                             ProgramRandom());
}

// The methods whose geometry takes the cut's width for both sides.
bool UsesWidthOnly(int type) {
  const MethodRow* row = MethodRowByType(type);
  return row && row->ReadsWidthOnly;
}

// --cut: the picture is the cut; one tile of that unit.
void RenderCut(const RenderOptions& o, int type, const std::function<void(const Bitmap&, int)>& sink) {
  Bitmap cut = LoadPictureFile(o.cut);
  std::unique_ptr<ConversionMethod> unit = CreateMethodByType(type, ComposerParamsOf(RunConfigOf(o)));
  if (!unit) FailUnit({.number = kErrBadMethod});
  // The composer gives these methods a square cut and they read its width
  // only, so their set-up lets an oblong one through; its rows beyond the
  // width would show pixels that were never loaded.
  if (UsesWidthOnly(type) && cut.Width() != cut.Height())
    throw RenderError("this method takes a square cut, not " + std::to_string(cut.Width()) + "x" +
                      std::to_string(cut.Height()));
  if (!unit->Setup({cut.Width(), cut.Height()}, o.shuffle, ProgramRandom()))
    FailUnit({.number = unit->ErrorNo, .detail = unit->ErrorText});
  if (!unit->Make(cut)) FailUnit({.number = unit->ErrorNo, .detail = unit->ErrorText});
  sink(unit->Tile, 1);
}

bool SourceIsFolder(const RenderOptions& o) {
  std::error_code ec;
  return o.source != "random" && std::filesystem::is_directory(PathFromUtf8(o.source), ec);
}

// The picture a folder's change shows: the next picture of the draw the
// first one came from that is another file and decodes (so a --seed run,
// whose draws all start alike, changes between two pictures).
Bitmap NextFolderPicture(const RenderOptions& o) {
  try {
    ImageShelf shelf(o.source);
    RandomGenerator draws;
    draws.Randomize();
    const std::string first = shelf.Draw(draws);
    for (;;) {
      const std::string& path = shelf.Draw(draws);  // throws when none is left
      if (path != first) {
        try {
          Bitmap picture = LoadPicture(path);
          ApplySourceEffects(picture, o.blur, o.mono);
          return picture;
        } catch (const PictureError&) {
        }
      }
      shelf.DropDrawn();
    }
  } catch (const std::runtime_error& e) {
    throw RenderError("no second picture from folder '" + o.source + "' to fade to: " + OneLine(e.what()));
  }
}

// The composer takes `picture` as the saver's change does; with a fade
// time the old picture fades out over the frames it lasts at the run's
// frame interval.
void ChangePicture(Composer& composer, PictureFade& fade, const RunConfig& config, Point screen,
                   Bitmap picture) {
  const Point tileSize{composer.Method()->Tile.Width(), composer.Method()->Tile.Height()};
  Bitmap old = composer.TakeSource();
  try {
    PrepareRunComposer(composer, config, screen, std::move(picture));
  } catch (const UnitFailed& e) {
    FailUnit(e.Failure());
  }
  fade.Start(std::move(old), tileSize,
             FadeFrames(config.FadeTime, FrameInterval(config.Weight, config.MovePositionType)));
}

}  // namespace

Bitmap LoadSource(const RenderOptions& o) {
  uint8_t kind = kFileTypeRandom;
  if (o.source != "random") kind = SourceIsFolder(o) ? kFileTypeFolder : kFileTypeFile;
  Bitmap source;
  try {
    LoadSourcePicture(kind, o.source, o.source, source, ProgramRandom());
  } catch (const std::exception& e) {
    if (kind == kFileTypeFolder) throw RenderError("no picture from folder '" + o.source + "': " + e.what());
    throw RenderError("cannot read picture '" + o.source + "': " + OneLine(e.what()));
  }
  ApplySourceEffects(source, o.blur, o.mono);
  return source;
}

void RenderEach(const RenderOptions& o, const std::function<void(const Bitmap&, int)>& sink) {
  std::unique_ptr<ScopedSeedSource> seed;
  if (o.seed) seed = std::make_unique<ScopedSeedSource>(FixedSeed(*o.seed));
  const int type = ResolveType(o);
  if (type == kMethodTypePlugin && o.plugin.empty())
    throw RenderError("the plug-in method takes its library: --plugin FILE");
  if (!o.cut.empty()) return RenderCut(o, type, sink);

  // The saver's order: composer, source picture, preparation, frames.
  const RunConfig config = RunConfigOf(o);
  std::unique_ptr<Composer> composer = MakeRunComposer(config, ProgramRandom());
  if (composer->Error().number != 0) FailUnit(composer->Error());
  Bitmap source = LoadSource(o);
  try {
    PrepareRunComposer(*composer, config, {o.screenWidth, o.screenHeight}, std::move(source));
  } catch (const UnitFailed& e) {
    FailUnit(e.Failure());
  }
  // With a folder and a fade time, the picture changes after the first
  // frame and the change fades, as the saver's folder changes do.
  const bool changes = o.fade > 0 && SourceIsFolder(o);
  PictureFade fade;
  Bitmap picture;  // the frame in the 24-bit form the files take
  for (int frame = 1; frame <= o.frames; ++frame) {
    const bool fading = fade.Active();
    try {
      fade.MakeFrame(*composer);
    } catch (const UnitFailed& e) {
      FailUnit(e.Failure());
    }
    if (o.tile && !fading) {
      sink(composer->Method()->Tile, frame);
    } else {
      CopyFrameToBitmap(o.tile ? composer->TileImage() : composer->Image(), picture);
      sink(picture, frame);
    }
    if (frame == 1 && changes)
      ChangePicture(*composer, fade, config, {o.screenWidth, o.screenHeight}, NextFolderPicture(o));
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
