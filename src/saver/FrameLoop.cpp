#include "saver/FrameLoop.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "base/Errors.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "saver/SourcePicture.h"

namespace tessivane {

FrameLoop::FrameLoop(bool preview, SettingsStore& store, Clock now, MethodFactory factory)
    : preview_(preview), now_(now ? std::move(now) : Clock(&Now)), factory_(factory) {
  Settings = std::make_unique<MainSettings>(store);
  Options = std::make_unique<MethodOptions>(store);
  ImageChangeSecs = Settings->ImageChangeTime;
  FolderMode = Settings->FileType == kFileTypeFolder;
}

FrameLoop::~FrameLoop() {
  pictureLoad_.reset();  // a decode in flight is given up, not waited for
  shelf_.reset();
  SourceBitmap = Bitmap();
  FrameComposer.reset();
  Settings.reset();
  Options.reset();
}

bool FrameLoop::Activate(Point clientSize) {
  if (!FirstActivate) return false;
  FirstActivate = false;
  const int type = ChooseRunMethodType(Settings->TransType, Settings->UnitType, Options->Random);
  ComposerParams param;
  param.DllFileName = Settings->DllFileName;
  param.Rotate = Options->Rotate;
  param.MovePositionType = Settings->MovePositionType;
  FrameComposer = std::make_unique<Composer>(type, param, factory_);
  FrameComposer->MakesFrames = MakesFrames;
  if (FrameComposer->ErrorNo != 0) {
    ShowUnitError(FrameComposer->ErrorNo, FrameComposer->ErrorText);
    throw SilentAbort();
  }
  if (Settings->FileType == kFileTypeRandom) {
    LoadSourceImage();
    SetUpComposer(clientSize);
    LastImageChange = now_();
    framesReady_ = true;
    return true;
  }
  CopyRunSettings();
  if (Settings->FileType == kFileTypeFile) {
    drawSeed_ = RandSeed();  // the set-up goes on from here, as after a load on this thread
    StartDecode(Settings->BmpFileName);
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
  UnitSize = int64_t{Settings->Size} * 4;  // 64 bits: the stored value may be any integer
  MoveSpeed = Settings->Move;
  DrawInterval = FrameInterval(Settings->Weight, Settings->MovePositionType);
  UseBrightnessChange = Settings->BrightnessChange;
  UseMonoTone = Settings->MonoTone;
  UseShuffle = Settings->Shuffle;
  UseShadeOff = Settings->ShadeOff;
  if (const MethodRow* row = FrameComposer ? MethodRowByType(FrameComposer->UnitType) : nullptr) {
    if (row->Aspect == AspectSetting::Rectangle) UnitAspect = Options->XY;
    if (row->Aspect == AspectSetting::NoConversion) UnitAspect = Options->NoneXY;
  }
}

namespace {

// The out-of-memory message, with the picture's name when there is one.
void ShowOutOfMemoryFor(const std::string& pictureName) {
  ShowErrorMessage(pictureName.empty() ? std::string(kOutOfMemoryText) : NamedMessage(pictureName, kOutOfMemoryText));
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
      Settings->FileType == kFileTypeFile ? Settings->BmpFileName : Settings->ImageFolderName;
  LoadingStep(name, [this] {
    LoadSourcePicture(Settings->FileType, Settings->BmpFileName, Settings->ImageFolderName, SourceBitmap);
  });
  ApplySourceEffects(SourceBitmap, UseShadeOff, UseMonoTone);
}

void FrameLoop::PrepareComposer(Point clientSize) {
  if (!FrameComposer) throw SilentAbort();  // no composer: its creation error was shown
  FrameComposer->Prepare(clientSize, std::exchange(SourceBitmap, Bitmap()), UnitSize, MoveSpeed, UnitAspect,
                         UseShuffle, UseBrightnessChange);
}

void FrameLoop::ShowComposerError(const std::string& pictureName) {
  std::string detail = FrameComposer->ErrorText;
  if (detail.empty() && FrameComposer->ErrorNo == kErrSourceTooSmall && !pictureName.empty())
    detail = ShortenedName(pictureName);
  ShowUnitError(FrameComposer->ErrorNo, detail);
  Settings->FileType = kFileTypeRandom;
  throw SilentAbort();
}

void FrameLoop::SetUpComposer(Point clientSize, const std::string& pictureName) {
  if (!FrameComposer) throw SilentAbort();  // no composer: its creation error was shown
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
  if (FrameComposer) FrameComposer->Resize(clientSize);
}

const FrameBitmap& FrameLoop::MakeFrame() {
  if (!FrameComposer || !framesReady_) throw SilentAbort();
  try {
    FrameComposer->Make();
  } catch (const SilentAbort&) {  // a unit error, recorded on the composer
    ShowUnitError(FrameComposer->ErrorNo, FrameComposer->ErrorText);
    throw SilentAbort();
  }
  return FrameComposer->Image;
}

uint32_t FrameLoop::FinishFrame(Point clientSize) {
  if (FolderMode) {
    if (pictureLoad_) {
      SwitchPictureIfReady(clientSize);
    } else if (CompareDateTime(AddSeconds(LastImageChange, ImageChangeSecs), now_()) < 0) {
      BeginPictureChange(clientSize);
    }
  }
  return DrawInterval;
}

void FrameLoop::BeginPictureChange(Point clientSize) {
  if (Settings->FileType == kFileTypeRandom || Settings->FileType == kFileTypeFile) {
    // The random picture (or a single file) loads on this thread: no
    // folder to draw from, and the random picture is quick to make.
    LoadSourceImage();
    SetUpComposer(clientSize, Settings->FileType == kFileTypeFile ? Settings->BmpFileName : std::string());
    LastImageChange = now_();
    return;
  }
  CopyRunSettings();
  try {
    BeginFolderDraw();
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    AllocationFailed(Settings->ImageFolderName);  // listing the folder
  }
}

void FrameLoop::BeginFolderDraw() {
  const std::string& folder = Settings->ImageFolderName;
  LoadingStep(folder, [this, &folder] { shelf_ = std::make_unique<ImageShelf>(folder); });
  droppedTooSmall_ = false;
  Randomize();
  drawSeed_ = RandSeed();
  DecodeNextPicture();
}

// The draws of one change continue one sequence of the generator, as a
// load on this thread would, whatever the frames in between drew from it.
void FrameLoop::DecodeNextPicture() {
  const uint32_t frameSeed = RandSeed();
  SetRandSeed(drawSeed_);
  try {
    LoadingStep(Settings->ImageFolderName, [this] { drawnIndex_ = shelf_->Draw(); });
  } catch (...) {
    SetRandSeed(frameSeed);
    shelf_.reset();
    throw;
  }
  drawSeed_ = RandSeed();
  SetRandSeed(frameSeed);
  StartDecode(shelf_->Files()[drawnIndex_]);
}

// A worker that cannot start (no memory or threads left for it) is a
// decode that ran out of memory: the first picture shows why there are no
// frames, a change keeps the current picture. `path` is a copy: that
// failure drops the shelf the name comes from.
void FrameLoop::StartDecode(std::string path) {
  try {
    pictureLoad_ = std::make_unique<BackgroundPictureLoad>(path, UseShadeOff, UseMonoTone, pictureReady_,
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
  shelf_->Drop(drawnIndex_);
  if (shelf_->Files().empty() && droppedTooSmall_) {
    shelf_.reset();
    FrameComposer->ErrorNo = kErrSourceTooSmall;
    FrameComposer->ErrorText.clear();
    ShowComposerError(Settings->ImageFolderName);
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
    LastImageChange = now_();
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
  if (shelf_ && Composer::SourceTooSmall(UnitSize, picture.Width(), picture.Height())) {
    picture = Bitmap();  // too small for the cut: passed over like a picture that does not load
    droppedTooSmall_ = true;
    DropAndDrawNext();
    return false;
  }
  shelf_.reset();
  SetRandSeed(drawSeed_);  // the generator goes on from the draws, as after a load on this thread
  if (framesReady_) return ChangeComposerPicture(clientSize, std::move(picture), path);
  SourceBitmap = std::move(picture);
  SetUpComposer(clientSize, path);
  LastImageChange = now_();
  framesReady_ = true;
  return true;
}

// The picture being shown stays at hand until the new one is set up: the
// composer's set-up running out of memory then goes back to it, as a decode
// that runs out of memory does, instead of stopping the frames.
bool FrameLoop::ChangeComposerPicture(Point clientSize, Bitmap picture, const std::string& path) {
  Bitmap current = std::move(FrameComposer->Source);
  SourceBitmap = std::move(picture);
  try {
    PrepareComposer(clientSize);
  } catch (const SilentAbort&) {
    ShowComposerError(path);
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    return KeepCurrentPicture(clientSize, std::move(current), path);
  }
  LastImageChange = now_();
  return true;
}

bool FrameLoop::KeepCurrentPicture(Point clientSize, Bitmap current, const std::string& path) {
  SourceBitmap = std::move(current);
  SetUpComposer(clientSize, path);
  LastImageChange = now_();
  return false;
}

void FrameLoop::WaitForPicture() const {
  if (pictureLoad_) pictureLoad_->Wait();
}

}  // namespace tessivane
