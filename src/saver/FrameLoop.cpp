#include "saver/FrameLoop.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <utility>

#include "base/Errors.h"
#include "base/Texts.h"
#include "codecs/PictureLoader.h"
#include "saver/SourcePicture.h"

namespace tessivane {

FrameLoop::FrameLoop(bool preview, RunConfig config, RandomGenerator& random, Clock now,
                     MethodFactory factory)
    : preview_(preview), now_(now ? std::move(now) : Clock(&Now)), factory_(factory), random_(random) {
  UseConfig(std::move(config));
}

void FrameLoop::UseConfig(RunConfig config) {
  CheckRunConfig(config);
  config_ = std::move(config);
  folderMode_ = config_.Source == kFileTypeFolder;
}

FrameLoop::~FrameLoop() {
  folderListing_.reset();  // a listing or a decode in flight is given up, not waited for
  pictureLoad_.reset();
  shelf_.reset();
  sourceBitmap_ = Bitmap();
  composer_.reset();
}

bool FrameLoop::Activate(Point clientSize) {
  if (!firstActivate_) return false;
  firstActivate_ = false;
  clientSize_ = clientSize;
  composer_ = MakeRunComposer(config_, random_, factory_);
  if (composer_->Error().number != 0) ReplaceFailedPlugin(composer_->Error(), false);
  composer_->SetMakesFrames(makesFrames_);
  if (composer_->Error().number != 0) throw UnitFailed(composer_->Error());
  if (config_.Source == kFileTypeRandom) {
    onRandomPicture_ = true;
    if (LoadSourceImage()) {
      SetUpComposer(clientSize);
      lastImageChange_ = now_();
      framesReady_ = true;
    }
    return true;
  }
  if (config_.Source == kFileTypeFile) {
    draws_ = random_;  // the set-up goes on from here, as after a load on this thread
    StartDecode(config_.PictureFile);
  } else {
    BeginFolderDraw();
  }
  return true;
}

bool FrameLoop::ActivateAndWait(Point clientSize) {
  if (!Activate(clientSize)) return false;
  while (PictureChangePending()) {
    WaitForPicture();
    SwitchPictureIfReady(clientSize);
  }
  return true;
}

namespace {

// The out-of-memory message, with the picture's name when there is one.
std::string OutOfMemoryText(const std::string& pictureName) {
  const char* text = Tr(TextId::kOutOfMemory);
  return pictureName.empty() ? std::string(text) : NamedMessage(pictureName, text);
}

}  // namespace

// A failure of a picture change or of the composer's set-up is decided
// once, where it happens, as one of these; Settle carries it out.
struct FrameLoop::Outcome {
  enum class Kind {
    kOk,
    kKeepCurrent,  // out of memory at a change: the current picture stays, the next change comes later
    kPassOver,     // a folder's picture that cannot be used: dropped from the draw, another drawn
    kUnitError,    // the composer's error (`failure`), thrown for the front end to show
    kOutOfMemory,  // out of memory with no picture to go back to: the out-of-memory text
    kLoadError,    // the picture's or folder's own error, for the standard error box
  };
  Kind kind = Kind::kOk;
  std::string name{};           // the picture or folder the failure is about
  std::exception_ptr error{};   // kLoadError: what to throw, its message naming `name`
  UnitFailure failure{};        // kUnitError: the composer's error
  bool shownInPreview = false;  // the composer running out of memory shows in the preview too
};

FrameLoop::Outcome FrameLoop::OutOfMemory(const std::string& name, bool canKeepCurrent) const {
  return {.kind = canKeepCurrent ? Outcome::Kind::kKeepCurrent : Outcome::Kind::kOutOfMemory, .name = name};
}

// Running out of memory (a worker thread that cannot start included) says
// nothing about the picture: nothing is dropped, and during a change the
// current picture goes on showing. A picture that does not decode is passed
// over when `passOver` (a folder's picture after its decode); any other
// error gets the file's or folder's name before its message.
template <typename Step>
FrameLoop::Outcome FrameLoop::LoadStep(const std::string& name, bool passOver, Step step) {
  try {
    step();
    return {};
  } catch (const PictureError& e) {
    if (e.Failure() == PictureFailure::kOutOfMemory) return OutOfMemory(name, framesReady_);
    if (passOver) return {.kind = Outcome::Kind::kPassOver, .name = name};
    return {
        .kind = Outcome::Kind::kLoadError, .name = name, .error = std::make_exception_ptr(e.AboutFile(name))};
  } catch (const std::out_of_range&) {  // the range check of an empty folder name: no name to give
    return {.kind = Outcome::Kind::kLoadError, .name = name, .error = std::current_exception()};
  } catch (const std::exception& e) {
    if (IsAllocationFailure(e)) return OutOfMemory(name, framesReady_);
    if (!dynamic_cast<const std::runtime_error*>(&e))
      return {.kind = Outcome::Kind::kLoadError, .name = name, .error = std::current_exception()};
    // The folder holds no picture, or cannot be listed.
    return {.kind = Outcome::Kind::kLoadError,
            .name = name,
            .error = std::make_exception_ptr(std::runtime_error(NameInMessage(name, e.what())))};
  }
}

// The composer's set-up: a unit error comes with its failure; out of
// memory goes back to the current picture only when the caller still holds
// it (`canKeepCurrent`).
FrameLoop::Outcome FrameLoop::PrepareStep(Point clientSize, const std::string& name, bool canKeepCurrent) {
  try {
    PrepareComposer(clientSize);
    return {};
  } catch (const UnitFailed& e) {
    if (ReplaceFailedPlugin(e.Failure(), true)) return PrepareStep(clientSize, name, canKeepCurrent);
    return {.kind = Outcome::Kind::kUnitError, .name = name, .failure = e.Failure()};
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    Outcome outcome = OutOfMemory(name, canKeepCurrent);
    outcome.shownInPreview = true;
    return outcome;
  }
}

// True for ok; false when the change ends here (the current picture stays,
// or another picture is being drawn); otherwise throws, which ends the
// frames: the unit error or the picture's error for the front end to show
// (a picture's unseen in the preview), or SilentAbort once the
// out-of-memory text is shown.
bool FrameLoop::Settle(const Outcome& outcome) {
  switch (outcome.kind) {
    case Outcome::Kind::kOk:
      return true;
    case Outcome::Kind::kKeepCurrent:
      shelf_.reset();
      lastImageChange_ = now_();
      return false;
    case Outcome::Kind::kPassOver:
      DropAndDrawNext();
      return false;
    case Outcome::Kind::kUnitError: {
      UnitFailure failure = FailComposer(outcome.failure, outcome.name);
      if (!onTrouble_) throw UnitFailed(std::move(failure));
      return GoOnAfter(std::make_exception_ptr(UnitFailed(std::move(failure))), true);
    }
    case Outcome::Kind::kOutOfMemory: {
      shelf_.reset();
      // Not the picture's fault: the source kind stays.
      const bool shown = !preview_ || outcome.shownInPreview;
      if (!onTrouble_) {
        if (shown) ShowErrorMessage(OutOfMemoryText(outcome.name));
        throw SilentAbort();
      }
      return GoOnAfter(std::make_exception_ptr(ErrorMessage(OutOfMemoryText(outcome.name))), shown);
    }
    case Outcome::Kind::kLoadError:
      shelf_.reset();
      if (onTrouble_) return GoOnAfter(outcome.error, !preview_);
      if (preview_) throw SilentAbort();  // the preview shows no box for a picture that does not load
      std::rethrow_exception(outcome.error);
  }
  return false;
}

// A plug-in that cannot be used, when it is made or when it is set up: with
// a trouble handler the failure is handed over and the settings' own
// built-in method takes its place, with the picture the plug-in was given.
// The stored choice stays the plug-in; a failure at the set-up stores the
// random picture as the source kind, as every set-up error does. False,
// changing nothing, without a handler or for a method that is no plug-in.
bool FrameLoop::ReplaceFailedPlugin(const UnitFailure& failure, bool atSetUp) {
  if (!onTrouble_ || !composer_ || composer_->UnitType() != kMethodTypePlugin) return false;
  onTrouble_(std::make_exception_ptr(UnitFailed(failure)));
  if (atSetUp) storesRandomPicture_ = true;
  sourceBitmap_ = composer_->TakeSource();
  RunConfig builtIn = config_;
  builtIn.MethodType = config_.FallbackMethodType;
  composer_ = MakeRunComposer(builtIn, random_, factory_);
  composer_->SetMakesFrames(makesFrames_);
  if (composer_->Error().number != 0) throw UnitFailed(composer_->Error());
  return true;
}

// The run goes on after `error` (handed to the trouble handler when
// `shown`): during a change the picture on screen stays and the next change
// time tries again; before the first picture the run starts with the
// random picture. Without a handler, or when the random picture itself was
// what failed, the error ends the step as before. Always false: whatever
// was being done did not happen.
bool FrameLoop::GoOnAfter(std::exception_ptr error, bool shown) {
  if (!onTrouble_ || (!framesReady_ && onRandomPicture_)) std::rethrow_exception(error);
  shelf_.reset();
  if (framesReady_) {
    if (shown && !changeTroubleShown_) onTrouble_(error);
    changeTroubleShown_ = true;
    lastImageChange_ = now_();
    return false;
  }
  if (shown) onTrouble_(error);
  StartWithRandomPicture();
  return false;
}

// The first picture could not be had: the random picture takes its place.
// A folder is tried again at each change time; its failures meanwhile are
// not handed over again until one succeeds.
void FrameLoop::StartWithRandomPicture() {
  onRandomPicture_ = true;
  changeTroubleShown_ = true;
  LoadSourcePicture(kFileTypeRandom, {}, {}, sourceBitmap_, random_);
  ApplySourceEffects(sourceBitmap_, config_.Blur, config_.MonoTone);
  PrepareComposer(clientSize_);
  lastImageChange_ = now_();
  framesReady_ = true;
}

bool FrameLoop::LoadSourceImage() {
  const std::string name = config_.Source == kFileTypeFile ? config_.PictureFile : config_.PictureFolder;
  if (!Settle(LoadStep(name, false, [this] {
        LoadSourcePicture(config_.Source, config_.PictureFile, config_.PictureFolder, sourceBitmap_, random_);
      })))
    return false;
  ApplySourceEffects(sourceBitmap_, config_.Blur, config_.MonoTone);
  return true;
}

void FrameLoop::PrepareComposer(Point clientSize) {
  if (!composer_) throw SilentAbort();  // no composer: its creation error was shown
  PrepareRunComposer(*composer_, config_, clientSize, std::exchange(sourceBitmap_, Bitmap()));
}

UnitFailure FrameLoop::FailComposer(UnitFailure failure, const std::string& pictureName) {
  if (failure.number == kErrSourceTooSmall) failure.name = pictureName;
  config_.Source = kFileTypeRandom;
  storesRandomPicture_ = true;  // so that the next run starts with it
  return failure;
}

void FrameLoop::SetUpComposer(Point clientSize, const std::string& pictureName) {
  if (!composer_) throw SilentAbort();  // no composer: its creation error was shown
  Settle(PrepareStep(clientSize, pictureName, false));
}

void FrameLoop::Resize(Point clientSize) {
  clientSize_ = clientSize;
  if (composer_) composer_->Resize(clientSize);
}

const FrameBitmap& FrameLoop::MakeFrame() {
  if (!composer_ || !framesReady_) throw SilentAbort();
  fade_.MakeFrame(*composer_, fade_.Active() ? MillisecondsBetween(fadeStart_, now_()) : 0.0);
  return composer_->Image();
}

uint32_t FrameLoop::FinishFrame(Point clientSize) {
  clientSize_ = clientSize;
  if (folderMode_) {
    if (PictureChangePending()) {
      SwitchPictureIfReady(clientSize);
    } else if (CompareDateTime(AddSeconds(lastImageChange_, config_.ChangeSeconds), now_()) < 0) {
      BeginPictureChange(clientSize);
    }
  }
  return config_.FrameIntervalMs;
}

void FrameLoop::BeginPictureChange(Point clientSize) {
  if (config_.Source == kFileTypeRandom || config_.Source == kFileTypeFile) {
    // The random picture (or a single file) loads on this thread: no
    // folder to draw from, and the random picture is quick to make.
    if (!LoadSourceImage()) return;
    SetUpComposer(clientSize, config_.Source == kFileTypeFile ? config_.PictureFile : std::string());
    lastImageChange_ = now_();
    return;
  }
  BeginFolderDraw();
}

// The folder is listed on a worker that owns a copy of its name and of the
// lister: a folder on a share that stops answering holds up neither the
// frames nor the input, and a run that ends does not wait for it.
void FrameLoop::BeginFolderDraw() {
  const std::string& folder = config_.PictureFolder;
  Settle(LoadStep(folder, false, [this, &folder] {
    folderListing_ = std::make_unique<BackgroundWork<ImageShelf>>(
        [folder, lister = folderLister_] { return lister ? lister(folder) : ImageShelf(folder); },
        pictureReady_, threadStarter_);
  }));
}

// The listing is in: the change re-seeds and draws on this thread, as a
// listing in place would have.
void FrameLoop::DrawFromListing() {
  const std::unique_ptr<BackgroundWork<ImageShelf>> listing = std::move(folderListing_);
  if (!Settle(LoadStep(config_.PictureFolder, false,
                       [this, &listing] { shelf_ = std::make_unique<ImageShelf>(listing->Take()); })))
    return;
  droppedTooSmall_ = false;
  random_.Randomize();
  draws_ = random_;
  DecodeNextPicture();
}

// The draws of one change continue one sequence, draws_, as a load on this
// thread would, whatever the frames in between drew from the program's
// generator.
void FrameLoop::DecodeNextPicture() {
  std::string path;
  if (!Settle(LoadStep(config_.PictureFolder, false, [this, &path] { path = shelf_->Draw(draws_); }))) return;
  StartDecode(std::move(path));
}

// `path` is a copy: a failure drops the shelf the name comes from.
void FrameLoop::StartDecode(std::string path) {
  Settle(LoadStep(path, false, [this, &path] {
    pictureLoad_ = std::make_unique<BackgroundPictureLoad>(path, config_.Blur, config_.MonoTone,
                                                           pictureReady_, pictureLoader_, threadStarter_);
  }));
}

// A folder's picture that cannot be used is passed over. When none is
// left and one of them was only too small for the cut, that is the error
// to show (the set-up error's rule: the next run starts with the random
// picture); otherwise the empty folder's error follows from the draw.
void FrameLoop::DropAndDrawNext() {
  shelf_->DropDrawn();
  if (shelf_->Files().empty() && droppedTooSmall_) {
    shelf_.reset();
    Settle({.kind = Outcome::Kind::kUnitError,
            .name = config_.PictureFolder,
            .failure = {.number = kErrSourceTooSmall}});
    return;
  }
  DecodeNextPicture();
}

bool FrameLoop::SwitchPictureIfReady(Point clientSize) {
  clientSize_ = clientSize;
  if (folderListing_ && folderListing_->Ready()) DrawFromListing();
  if (!pictureLoad_ || !pictureLoad_->Ready()) return false;
  std::unique_ptr<BackgroundPictureLoad> load = std::move(pictureLoad_);
  const std::string path = load->Path();
  Bitmap picture;
  const Outcome taken = LoadStep(path, shelf_ != nullptr, [&] { picture = load->Take(); });
  load.reset();
  if (!Settle(taken)) return false;
  if (shelf_ && Composer::SourceTooSmall(config_.CutSide, picture.Width(), picture.Height())) {
    picture = Bitmap();  // too small for the cut: passed over like a picture that does not load
    droppedTooSmall_ = true;
    return Settle({.kind = Outcome::Kind::kPassOver, .name = path});
  }
  shelf_.reset();
  random_ = draws_;  // the program's generator goes on from the draws, as after a load on this thread
  if (framesReady_) return ChangeComposerPicture(clientSize, std::move(picture), path);
  sourceBitmap_ = std::move(picture);
  if (!Settle(PrepareStep(clientSize, path, false))) return false;
  lastImageChange_ = now_();
  framesReady_ = true;
  return true;
}

// The picture being shown stays at hand until the new one is set up: the
// composer's set-up running out of memory then goes back to it, as a decode
// that runs out of memory does, instead of stopping the frames.
bool FrameLoop::ChangeComposerPicture(Point clientSize, Bitmap picture, const std::string& path) {
  const Bitmap& tile = composer_->Method()->Tile();  // the new picture's tiles have the same size
  const Point tileSize{tile.Width(), tile.Height()};
  Bitmap current = composer_->TakeSource();
  sourceBitmap_ = std::move(picture);
  const Outcome outcome = PrepareStep(clientSize, path, true);
  if (outcome.kind == Outcome::Kind::kKeepCurrent ||
      (outcome.kind == Outcome::Kind::kUnitError && onTrouble_)) {
    // The picture on screen goes on (a run that stops at the error needs it no more).
    sourceBitmap_ = std::move(current);
    SetUpComposer(clientSize, path);
  }
  if (!Settle(outcome)) return false;
  changeTroubleShown_ = false;
  // With a fade the old picture stays for its frames; without one, or when
  // memory for the fade runs out, the change is a cut and it goes now. Its
  // N frames come one pace after another from the next frame on, and the
  // new tile alone one pace after the last: N + 1 paces in all.
  const uint32_t pace = FramePace();
  fade_.Start(std::move(current), tileSize, FadeFrames(config_.FadeTenths, pace),
              FadeMs(config_.FadeTenths) + pace);
  lastImageChange_ = fadeStart_ = now_();
  return true;
}

void FrameLoop::WaitForPicture() const {
  if (folderListing_) folderListing_->Wait();
  if (pictureLoad_) pictureLoad_->Wait();
}

}  // namespace tessivane
