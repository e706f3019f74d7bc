#include "saver/FrameLoop.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "base/Errors.h"
#include "base/Texts.h"
#include "codecs/PictureLoader.h"
#include "saver/SourcePicture.h"

namespace tessivane {

FrameLoop::FrameLoop(bool preview, SettingsStore& store, Clock now, MethodFactory factory, RandomGenerator& random)
    : preview_(preview), now_(now ? std::move(now) : Clock(&Now)), factory_(factory), random_(random) {
  settings_ = std::make_unique<MainSettings>(store);
  options_ = std::make_unique<MethodOptions>(store);
  run_.ImageChangeSecs = settings_->ImageChangeTime;
  run_.FolderMode = settings_->FileType == kFileTypeFolder;
}

FrameLoop::~FrameLoop() {
  pictureLoad_.reset();  // a decode in flight is given up, not waited for
  shelf_.reset();
  sourceBitmap_ = Bitmap();
  composer_.reset();
  settings_.reset();
  options_.reset();
}

bool FrameLoop::Activate(Point clientSize) {
  if (!firstActivate_) return false;
  firstActivate_ = false;
  const int type = ChooseRunMethodType(settings_->TransType, settings_->UnitType, options_->Random);
  ComposerParams param;
  param.DllFileName = settings_->DllFileName;
  param.Rotate = options_->Rotate;
  param.MovePositionType = settings_->MovePositionType;
  composer_ = std::make_unique<Composer>(type, param, factory_);
  if (composer_->ErrorNo != 0) {
    ShowUnitError(composer_->ErrorNo, composer_->ErrorText);
    throw SilentAbort();
  }
  if (settings_->FileType == kFileTypeRandom) {
    LoadSourceImage();
    SetUpComposer(clientSize);
    lastImageChange_ = now_();
    framesReady_ = true;
    return true;
  }
  CopyRunSettings();
  if (settings_->FileType == kFileTypeFile) {
    draws_ = random_;  // the set-up goes on from here, as after a load on this thread
    StartDecode(settings_->BmpFileName);
  } else {
    BeginFolderDraw();
  }
  return true;
}

bool FrameLoop::ActivateAndWait(Point clientSize) {
  if (!Activate(clientSize)) return false;
  while (pictureLoad_) {
    pictureLoad_->Wait();
    SwitchPictureIfReady(clientSize);
  }
  return true;
}

void FrameLoop::CopyRunSettings() {
  run_.CutSide = CutSideOf(settings_->Size);
  run_.MoveSpeed = settings_->Move;
  run_.DrawInterval = FrameInterval(settings_->Weight, settings_->MovePositionType);
  run_.UseBrightnessChange = settings_->BrightnessChange;
  run_.UseMonoTone = settings_->MonoTone;
  run_.UseShuffle = settings_->Shuffle;
  run_.UseBlur = settings_->Blur;
  if (const MethodRow* row = composer_ ? MethodRowByType(composer_->UnitType) : nullptr) {
    if (row->Aspect == AspectSetting::Rectangle) run_.PieceAspect = options_->XY;
    if (row->Aspect == AspectSetting::NoConversion) run_.PieceAspect = options_->NoneXY;
  }
}

namespace {

// The out-of-memory message, with the picture's name when there is one.
void ShowOutOfMemoryFor(const std::string& pictureName) {
  const char* text = Tr(TextId::kOutOfMemory);
  ShowErrorMessage(pictureName.empty() ? std::string(text) : NamedMessage(pictureName, text));
}

}  // namespace

template <typename Step>
void FrameLoop::LoadingStep(const std::string& name, Step step) {
  try {
    try {
      step();
    } catch (const PictureError& e) {
      throw PictureError(NameInMessage(name, e.what()));
    } catch (const std::out_of_range&) {  // the range check of an empty folder name: no name to give
      throw;
    } catch (const std::runtime_error& e) {  // the folder holds no picture, or cannot be listed
      throw std::runtime_error(NameInMessage(name, e.what()));
    }
  } catch (const std::exception& e) {  // the preview shows no box for a picture that does not load
    // Out of memory during a change is the change's to handle.
    if (preview_ && !(IsAllocationFailure(e) && framesReady_)) throw SilentAbort();
    throw;
  }
}

void FrameLoop::LoadSourceImage() {
  CopyRunSettings();
  const std::string name =
      settings_->FileType == kFileTypeFile ? settings_->BmpFileName : settings_->ImageFolderName;
  LoadingStep(name, [this] {
    LoadSourcePicture(settings_->FileType, settings_->BmpFileName, settings_->ImageFolderName, sourceBitmap_);
  });
  ApplySourceEffects(sourceBitmap_, run_.UseBlur, run_.UseMonoTone);
}

void FrameLoop::PrepareComposer(Point clientSize) {
  if (!composer_) throw SilentAbort();  // no composer: its creation error was shown
  composer_->Prepare(clientSize, std::exchange(sourceBitmap_, Bitmap()), run_.CutSide, run_.MoveSpeed, run_.PieceAspect,
                         run_.UseShuffle, run_.UseBrightnessChange);
}

void FrameLoop::ShowComposerError(const std::string& pictureName) {
  std::string detail = composer_->ErrorText;
  if (detail.empty() && composer_->ErrorNo == kErrSourceTooSmall && !pictureName.empty())
    detail = ShortenedName(pictureName);
  ShowUnitError(composer_->ErrorNo, detail);
  settings_->FileType = kFileTypeRandom;
  throw SilentAbort();
}

void FrameLoop::SetUpComposer(Point clientSize, const std::string& pictureName) {
  if (!composer_) throw SilentAbort();  // no composer: its creation error was shown
  try {
    PrepareComposer(clientSize);
  } catch (const SilentAbort&) {  // a unit error, recorded on the composer
    ShowComposerError(pictureName);
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    ShowOutOfMemoryFor(pictureName);  // not the picture's fault: the source kind stays
    throw SilentAbort();
  }
}

void FrameLoop::Resize(Point clientSize) {
  if (composer_) composer_->Resize(clientSize);
}

const FrameBitmap& FrameLoop::MakeFrame() {
  if (!composer_ || !framesReady_) throw SilentAbort();
  try {
    composer_->Make();
  } catch (const SilentAbort&) {  // a unit error, recorded on the composer
    ShowUnitError(composer_->ErrorNo, composer_->ErrorText);
    throw SilentAbort();
  }
  return composer_->Image;
}

uint32_t FrameLoop::FinishFrame(Point clientSize) {
  if (run_.FolderMode) {
    if (pictureLoad_) {
      SwitchPictureIfReady(clientSize);
    } else if (CompareDateTime(AddSeconds(lastImageChange_, run_.ImageChangeSecs), now_()) < 0) {
      BeginPictureChange(clientSize);
    }
  }
  return run_.DrawInterval;
}

void FrameLoop::BeginPictureChange(Point clientSize) {
  if (settings_->FileType == kFileTypeRandom || settings_->FileType == kFileTypeFile) {
    // The random picture (or a single file) loads on this thread: no
    // folder to draw from, and the random picture is quick to make.
    LoadSourceImage();
    SetUpComposer(clientSize, settings_->FileType == kFileTypeFile ? settings_->BmpFileName : std::string());
    lastImageChange_ = now_();
    return;
  }
  CopyRunSettings();
  try {
    BeginFolderDraw();
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    AllocationFailed(settings_->ImageFolderName);  // listing the folder
  }
}

void FrameLoop::BeginFolderDraw() {
  const std::string& folder = settings_->ImageFolderName;
  LoadingStep(folder, [this, &folder] { shelf_ = std::make_unique<ImageShelf>(folder); });
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
  try {
    LoadingStep(settings_->ImageFolderName, [this, &path] { path = shelf_->Draw(draws_); });
  } catch (...) {
    shelf_.reset();
    throw;
  }
  StartDecode(std::move(path));
}

// A worker that cannot start (no memory or threads left for it) is a
// decode that ran out of memory: the first picture shows why there are no
// frames, a change keeps the current picture. `path` is a copy: that
// failure drops the shelf the name comes from.
void FrameLoop::StartDecode(std::string path) {
  try {
    pictureLoad_ = std::make_unique<BackgroundPictureLoad>(path, run_.UseBlur, run_.UseMonoTone, pictureReady_,
                                                           pictureLoader_, threadStarter_);
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    AllocationFailed(path);
  }
}

// A folder's picture that cannot be used is passed over. When none is
// left and one of them was only too small for the cut, that is the error
// to show (the set-up error's rule: the next run starts with the random
// picture); otherwise the empty folder's error follows from the draw.
void FrameLoop::DropAndDrawNext() {
  shelf_->DropDrawn();
  if (shelf_->Files().empty() && droppedTooSmall_) {
    shelf_.reset();
    composer_->ErrorNo = kErrSourceTooSmall;
    composer_->ErrorText.clear();
    ShowComposerError(settings_->ImageFolderName);
  }
  DecodeNextPicture();
}

// Running out of memory says nothing about the picture: nothing is
// dropped. During a change the current picture goes on showing and the
// next change comes at the next change time; the first picture has
// nothing to fall back on, so the run shows why it has no frames.
bool FrameLoop::AllocationFailed(const std::string& pictureName) {
  shelf_.reset();
  if (framesReady_) {
    lastImageChange_ = now_();
    return false;
  }
  if (!preview_) ShowOutOfMemoryFor(pictureName);
  throw SilentAbort();
}

bool FrameLoop::SwitchPictureIfReady(Point clientSize) {
  if (!pictureLoad_ || !pictureLoad_->Ready()) return false;
  std::unique_ptr<BackgroundPictureLoad> load = std::move(pictureLoad_);
  const std::string path = load->Path();
  Bitmap picture;
  try {
    picture = load->Take();
  } catch (const PictureOutOfMemory&) {
    load.reset();
    return AllocationFailed(path);
  } catch (const PictureError& e) {
    load.reset();
    if (!shelf_) {  // the single picture file: its error ends the set-up
      LoadingStep(path, [&e] { throw e; });
    }
    DropAndDrawNext();  // not a picture: dropped from the draw, the next one drawn
    return false;
  } catch (const std::exception& e) {
    if (IsAllocationFailure(e)) {
      load.reset();
      return AllocationFailed(path);
    }
    shelf_.reset();
    if (preview_) throw SilentAbort();
    throw;
  }
  load.reset();
  if (shelf_ && Composer::SourceTooSmall(run_.CutSide, picture.Width(), picture.Height())) {
    picture = Bitmap();  // too small for the cut: passed over like a picture that does not load
    droppedTooSmall_ = true;
    DropAndDrawNext();
    return false;
  }
  shelf_.reset();
  random_ = draws_;  // the program's generator goes on from the draws, as after a load on this thread
  if (framesReady_) return ChangeComposerPicture(clientSize, std::move(picture), path);
  sourceBitmap_ = std::move(picture);
  SetUpComposer(clientSize, path);
  lastImageChange_ = now_();
  framesReady_ = true;
  return true;
}

// The picture being shown stays at hand until the new one is set up: the
// composer's set-up running out of memory then goes back to it, as a decode
// that runs out of memory does, instead of stopping the frames.
bool FrameLoop::ChangeComposerPicture(Point clientSize, Bitmap picture, const std::string& path) {
  Bitmap current = std::move(composer_->Source);
  sourceBitmap_ = std::move(picture);
  try {
    PrepareComposer(clientSize);
  } catch (const SilentAbort&) {
    ShowComposerError(path);
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    return KeepCurrentPicture(clientSize, std::move(current), path);
  }
  lastImageChange_ = now_();
  return true;
}

bool FrameLoop::KeepCurrentPicture(Point clientSize, Bitmap current, const std::string& path) {
  sourceBitmap_ = std::move(current);
  SetUpComposer(clientSize, path);
  lastImageChange_ = now_();
  return false;
}

void FrameLoop::WaitForPicture() const {
  if (pictureLoad_) pictureLoad_->Wait();
}

}  // namespace tessivane
