#include "saver/FrameLoop.h"

#include "base/Errors.h"
#include "saver/SourcePicture.h"

namespace tessivane {

TFrameLoop::TFrameLoop(bool preview, SettingsStore& store, Clock now, UnitFactory factory)
    : preview_(preview), now_(now ? std::move(now) : Clock(&Now)), factory_(factory) {
  Reg = std::make_unique<TTessivaneReg>(store);
  OptionReg = std::make_unique<TOptionReg>(store);
  ImageChangeSecs = Reg->ImageChangeTime;
  FolderMode = Reg->FileType == kFileTypeFolder;
}

TFrameLoop::~TFrameLoop() {
  SourceBitmap = Bitmap();
  MakeImage.reset();
  Reg.reset();
  OptionReg.reset();
}

bool TFrameLoop::Activate(Point clientSize) {
  if (!FirstActivate) return false;
  FirstActivate = false;
  const int type = ChooseRunUnitType(Reg->TransType, Reg->UnitType, OptionReg->Random);
  TMakeImageParam param;
  param.DllFileName = Reg->DllFileName;
  param.Rotate = OptionReg->Rotate;
  param.MovePositionType = Reg->MovePositionType;
  MakeImage = std::make_unique<TMakeImage>(type, param, factory_);
  if (MakeImage->ErrorNo != 0) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
    throw SilentAbort();
  }
  LoadSourceImage();
  SetUpComposer(clientSize);
  LastImageChange = now_();
  return true;
}

void TFrameLoop::LoadSourceImage() {
  UnitSize = static_cast<int32_t>(static_cast<uint32_t>(Reg->Size) * 4);  // wraps like the 32-bit original
  MoveSpeed = Reg->Move;
  DrawInterval = FrameInterval(Reg->Weight, Reg->MovePositionType);
  UseBrightnessChange = Reg->BrightnessChange;
  UseMonoTone = Reg->MonoTone;
  UseShuffle = Reg->Shuffle;
  UseShadeOff = Reg->ShadeOff;
  if (MakeImage && MakeImage->UnitType == 5) UnitAspect = OptionReg->XY;
  if (MakeImage && MakeImage->UnitType == 6) UnitAspect = OptionReg->NoneXY;
  try {
    LoadSourcePicture(Reg->FileType, Reg->BmpFileName, Reg->ImageFolderName, SourceBitmap);
  } catch (...) {
    if (preview_) throw SilentAbort();
    throw;
  }
  ApplySourceEffects(SourceBitmap, UseShadeOff, UseMonoTone);
}

void TFrameLoop::SetUpComposer(Point clientSize) {
  if (!MakeImage) throw SilentAbort();  // no composer: its creation error was shown
  try {
    MakeImage->Prepare(clientSize, SourceBitmap, UnitSize, MoveSpeed, UnitAspect, UseShuffle, UseBrightnessChange);
  } catch (...) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
    Reg->FileType = kFileTypeRandom;
    throw SilentAbort();
  }
}

const Bitmap& TFrameLoop::MakeFrame() {
  if (!MakeImage) throw SilentAbort();
  try {
    MakeImage->Make();
  } catch (...) {
    ShowUnitError(MakeImage->ErrorNo, MakeImage->ErrorText);
    throw SilentAbort();
  }
  return MakeImage->Image;
}

uint32_t TFrameLoop::FinishFrame(Point clientSize) {
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
