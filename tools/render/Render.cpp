#include "render/Render.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "pattern/Composer.h"
#include "pattern/MethodTable.h"
#include "render/PngFile.h"
#include "images/ImageShelf.h"
#include "saver/FrameLoop.h"
#include "saver/SaverRun.h"
#include "saver/SourcePicture.h"
#include "settings/MethodOptions.h"
#include "settings/MainSettings.h"

namespace tessivane::render {
namespace {

// A unit error as one line, worded as the savers word it.
[[noreturn]] void FailUnit(const UnitFailure& failure) {
  throw RenderError(OneLine(ReportOf(std::make_exception_ptr(UnitFailed(failure))).text));
}

// A picture that did not load, as one line; its message names the file.
[[noreturn]] void FailPicture(const PictureError& e) {
  throw RenderError("cannot read picture: " + OneLine(e.what()));
}

Bitmap LoadPictureFile(const std::string& name) {
  try {
    return LoadPicture(name);
  } catch (const PictureError& e) {
    FailPicture(e.AboutFile(name));
  }
}

int ResolveType(const RenderOptions& o) {
  return ChooseRunMethodType(o.unitType, o.randomSet, ProgramRandom());
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
  if (UnitFailure f = unit->Setup({cut.Width(), cut.Height()}, o.shuffle, ProgramRandom()); f.number != 0)
    FailUnit(f);
  if (UnitFailure f = unit->Make(cut); f.number != 0) FailUnit(f);
  sink(unit->Tile(), 1);
}

bool SourceIsFolder(const RenderOptions& o) {
  std::error_code ec;
  return o.source != "random" && std::filesystem::is_directory(PathFromUtf8(o.source), ec);
}

// The run the options describe, its source the random picture, a picture
// file or a folder.
RunConfig RunConfigOf(const RenderOptions& o) {
  RunConfig c = tessivane::RunConfigOf(static_cast<const CommonOptions&>(o));
  if (o.source != "random") c.Source = SourceIsFolder(o) ? kFileTypeFolder : kFileTypeFile;
  c.PictureFile = c.PictureFolder = o.source;
  return c;
}

// Remembers the folder's picture on the screen, so that the change lists
// the folder without it and fades to another picture (the draws of a
// --seed run all start alike, and would draw the same one again). Shared
// with the frame loop's workers.
class OtherPicture {
public:
  Bitmap Load(const std::string& path) {
    Bitmap picture = LoadPicture(path);
    const std::lock_guard lock(mutex_);
    shown_ = path;
    return picture;
  }
  ImageShelf List(const std::string& folder) {
    ImageShelf shelf(folder);
    const std::lock_guard lock(mutex_);
    if (!shown_.empty()) shelf.Remove(shown_);
    return shelf;
  }

private:
  std::mutex mutex_;
  std::string shown_;
};

// What the frame loop shows through the error display (only running out
// of memory), kept for the one line the renderer writes.
class LastError : public ErrorDisplay {
public:
  LastError() : previous_(GetErrorDisplay()) { SetErrorDisplay(this); }
  ~LastError() override { SetErrorDisplay(previous_); }
  LastError(const LastError&) = delete;
  LastError& operator=(const LastError&) = delete;
  void ShowErrorMessage(const std::string& text) override { text_ = text; }
  const std::string& Text() const { return text_; }

private:
  ErrorDisplay* previous_;
  std::string text_;
};

// The frames as the savers make them: the frame loop, driven through
// SaverRun, with a clock that stands still, so that a folder's picture
// changes only after the first frame of several, and only with a fade
// time.
void RenderFrames(const RenderOptions& o, const std::function<void(const Bitmap&, int)>& sink) {
  const RunConfig config = RunConfigOf(o);
  const Point screen{o.screenWidth, o.screenHeight};
  const bool changes = o.fade > 0 && config.Source == kFileTypeFolder && o.frames > 1;
  DateTime now = 0;
  auto other = std::make_shared<OtherPicture>();
  LastError errors;
  FrameLoop loop(false, config, ProgramRandom(), [&now] { return now; });
  loop.SetMakesFrames(!o.tile);
  loop.UsePictureLoader([other](const std::string& path) { return other->Load(path); });
  loop.UseFolderLister([other](const std::string& folder) { return other->List(folder); });
  int frame = 0;
  Bitmap picture;  // the frame in the 24-bit form the files take
  SaverRun run(loop, [&](const Composer& composer) {
    CopyFrameToBitmap(o.tile ? composer.TileImage() : composer.Image(), picture);
    sink(picture, ++frame);
    if (frame == 1 && changes) now = AddSeconds(now, config.ChangeSeconds + 1);
  });
  try {
    run.Start(screen);
    for (;;) {
      // A picture being listed or decoded is waited for, then switched to
      // before the next frame (a run's frame interval is never 0).
      run.SettlePictures(screen);
      if (frame == o.frames || !run.FramesReady()) break;
      run.Tick(screen);
    }
  } catch (const UnitFailed& e) {
    FailUnit(e.Failure());
  } catch (const SilentAbort&) {
    if (errors.Text().empty()) throw;
    throw RenderError(OneLine(errors.Text()));
  } catch (const RenderError&) {
    throw;  // the sink's
  } catch (const PictureError& e) {
    FailPicture(e);
  } catch (const std::runtime_error& e) {
    if (config.Source != kFileTypeFolder) throw;
    throw RenderError(
        (frame == 0 ? "no picture from folder: " : "no other picture in the folder to fade to: ") +
        OneLine(e.what()));
  }
  if (frame != o.frames) throw RenderError("no picture to render");
}

}  // namespace

void RenderEach(const RenderOptions& o, const std::function<void(const Bitmap&, int)>& sink) {
  std::unique_ptr<ScopedSeedSource> seed;
  if (o.seed) seed = std::make_unique<ScopedSeedSource>(FixedSeed(*o.seed));
  const int type = ResolveType(o);
  if (type == kMethodTypePlugin && o.plugin.empty())
    throw RenderError("the plug-in method takes its library: --plugin FILE");
  if (!o.cut.empty()) return RenderCut(o, type, sink);
  RenderFrames(o, sink);
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
