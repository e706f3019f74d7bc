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
  MakeImage.reset();
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
  MakeImage = std::make_unique<Composer>(type, param, factory_);
  if (MakeImage->ErrorNo != 0) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
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
  if (const MethodRow* row = MakeImage ? MethodRowByType(MakeImage->UnitType) : nullptr) {
    if (row->Aspect == AspectSetting::Rectangle) UnitAspect = Options->XY;
    if (row->Aspect == AspectSetting::NoConversion) UnitAspect = Options->NoneXY;
  }
  try {
    LoadSourcePicture(Settings->FileType, Settings->BmpFileName, Settings->ImageFolderName, SourceBitmap);
  } catch (...) {
    if (preview_) throw SilentAbort();
    throw;
  }
  ApplySourceEffects(SourceBitmap, UseShadeOff, UseMonoTone);
}

void FrameLoop::SetUpComposer(Point clientSize) {
  if (!MakeImage) throw SilentAbort();  // no composer: its creation error was shown
  try {
    MakeImage->Prepare(clientSize, SourceBitmap, UnitSize, MoveSpeed, UnitAspect, UseShuffle, UseBrightnessChange);
  } catch (...) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
    Settings->FileType = kFileTypeRandom;
    throw SilentAbort();
  }
}

const Bitmap& FrameLoop::MakeFrame() {
  if (!MakeImage) throw SilentAbort();
  try {
    MakeImage->Make();
  } catch (...) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
    throw SilentAbort();
  }
  return MakeImage->Image;
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
