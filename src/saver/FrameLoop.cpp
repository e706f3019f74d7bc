#include "saver/FrameLoop.h"

#include "base/Errors.h"
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

void FrameLoop::LoadSourceImage() {
  UnitSize = static_cast<int32_t>(static_cast<uint32_t>(Settings->Size) * 4);  // wraps in 32 bits, as the stored value may be any integer
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
  try {
    LoadSourcePicture(Settings->FileType, Settings->BmpFileName, Settings->ImageFolderName, SourceBitmap);
  } catch (const std::exception&) {  // the preview shows no box for a picture that does not load
    if (preview_) throw SilentAbort();
    throw;
  }
  ApplySourceEffects(SourceBitmap, UseShadeOff, UseMonoTone);
}

void FrameLoop::SetUpComposer(Point clientSize) {
  if (!FrameComposer) throw SilentAbort();  // no composer: its creation error was shown
  try {
    FrameComposer->Prepare(clientSize, SourceBitmap, UnitSize, MoveSpeed, UnitAspect, UseShuffle, UseBrightnessChange);
  } catch (const SilentAbort&) {  // a unit error, recorded on the composer
    ShowUnitError(FrameComposer->ErrorNo, FrameComposer->ErrorText);
    Settings->FileType = kFileTypeRandom;
    throw SilentAbort();
  }
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
    const DateTime now = now_();
    if (CompareDateTime(AddSeconds(LastImageChange, ImageChangeSecs), now) < 0) {
      LoadSourceImage();
      SetUpComposer(clientSize);
      LastImageChange = now_();
    }
  }
  return DrawInterval;
}

}  // namespace tessivane
