#include "saver/FrameLoop.h"

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
  if (FrameComposer->ErrorNo != 0) {
    ShowUnitError(FrameComposer->ErrorNo, FrameComposer->ErrorText);
    throw SilentAbort();
  }
  LoadSourceImage();
  SetUpComposer(clientSize);
  LastImageChange = now_();
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

template <typename Step>
void FrameLoop::LoadingStep(Step step) {
  try {
    step();
  } catch (const std::exception&) {  // the preview shows no box for a picture that does not load
    if (preview_) throw SilentAbort();
    throw;
  }
}

void FrameLoop::LoadSourceImage() {
  CopyRunSettings();
  LoadingStep([this] {
    LoadSourcePicture(Settings->FileType, Settings->BmpFileName, Settings->ImageFolderName, SourceBitmap);
  });
  ApplySourceEffects(SourceBitmap, UseShadeOff, UseMonoTone);
}

void FrameLoop::SetUpComposer(Point clientSize) {
  if (!FrameComposer) throw SilentAbort();  // no composer: its creation error was shown
  try {
    FrameComposer->Prepare(clientSize, std::exchange(SourceBitmap, Bitmap()), UnitSize, MoveSpeed, UnitAspect,
                           UseShuffle, UseBrightnessChange);
  } catch (const SilentAbort&) {  // a unit error, recorded on the composer
    ShowUnitError(FrameComposer->ErrorNo, FrameComposer->ErrorText);
    Settings->FileType = kFileTypeRandom;
    throw SilentAbort();
  }
}

void FrameLoop::Resize(Point clientSize) {
  if (FrameComposer) FrameComposer->Resize(clientSize);
}

const FrameBitmap& FrameLoop::MakeFrame() {
  if (!FrameComposer) throw SilentAbort();
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
    // The random picture and a single file load at once, as at the start.
    LoadSourceImage();
    SetUpComposer(clientSize);
    LastImageChange = now_();
    return;
  }
  CopyRunSettings();
  LoadingStep([this] { shelf_ = std::make_unique<ImageShelf>(Settings->ImageFolderName); });
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
    LoadingStep([this] { drawnIndex_ = shelf_->Draw(); });
  } catch (...) {
    SetRandSeed(frameSeed);
    shelf_.reset();
    throw;
  }
  drawSeed_ = RandSeed();
  SetRandSeed(frameSeed);
  pictureLoad_ = std::make_unique<BackgroundPictureLoad>(shelf_->Files()[drawnIndex_], UseShadeOff, UseMonoTone,
                                                         pictureReady_);
}

bool FrameLoop::SwitchPictureIfReady(Point clientSize) {
  if (!pictureLoad_ || !pictureLoad_->Ready()) return false;
  std::unique_ptr<BackgroundPictureLoad> load = std::move(pictureLoad_);
  Bitmap picture;
  try {
    picture = load->Take();
  } catch (const PictureError&) {  // not a picture: dropped from the draw, the next one drawn
    load.reset();
    shelf_->Drop(drawnIndex_);
    DecodeNextPicture();
    return false;
  } catch (const std::exception&) {  // out of memory, say: the change ends as a failed load would
    shelf_.reset();
    if (preview_) throw SilentAbort();
    throw;
  }
  load.reset();
  shelf_.reset();
  SourceBitmap = std::move(picture);
  SetRandSeed(drawSeed_);  // the generator goes on from the draws, as after a load on this thread
  SetUpComposer(clientSize);
  LastImageChange = now_();
  return true;
}

void FrameLoop::WaitForPicture() const {
  if (pictureLoad_) pictureLoad_->Wait();
}

}  // namespace tessivane
