#include "saver/SourcePicture.h"

#include <utility>

#include "codecs/PictureLoader.h"
#include "images/PictureEffects.h"
#include "images/ImageShelf.h"
#include "images/RandomPicture.h"
#include "motion/MotionPaths.h"
#include "pattern/RandomMethod.h"
#include "pattern/MethodTable.h"
#include "settings/MainSettings.h"

namespace tessivane {

int ChooseRunMethodType(int methodType, const std::string& randomSet, RandomGenerator& generator) {
  if (methodType == kMethodTypeRandom) return ChooseRandomMethodType(randomSet, generator);
  return methodType;
}

std::unique_ptr<Composer> MakeRunComposer(const RunConfig& c, RandomGenerator& random,
                                          MethodFactory factory) {
  const int type = ChooseRunMethodType(c.MethodType, c.RandomSet, random);
  return std::make_unique<Composer>(type, ComposerParamsOf(c), random, factory);
}

ComposerParams ComposerParamsOf(const RunConfig& c) {
  ComposerParams param;
  param.DllFileName = c.PluginFile;
  param.Rotate = c.Rotate;
  param.MovePositionType = c.Motion;
  return param;
}

int32_t PieceAspectOf(const RunConfig& c, int methodType) {
  const MethodRow* row = MethodRowByType(methodType);
  if (row && row->Aspect == AspectSetting::Rectangle) return c.RectangleAspect;
  if (row && row->Aspect == AspectSetting::NoConversion) return c.NoneAspect;
  return 0;
}

PieceSettings PieceSettingsOf(const RunConfig& c, int methodType) {
  return {.cutSide = c.CutSide,
          .speed = c.Speed,
          .aspect = PieceAspectOf(c, methodType),
          .shuffle = c.Shuffle,
          .brightness = c.BrightnessChange};
}

void PrepareRunComposer(Composer& composer, const RunConfig& c, Point size, Bitmap source) {
  composer.Prepare(size, std::move(source), PieceSettingsOf(c, composer.UnitType()));
}

void LoadSourcePicture(uint8_t fileType, const std::string& fileName, const std::string& folderName,
                       Bitmap& bitmap, RandomGenerator& random) {
  switch (fileType) {
    case kFileTypeRandom:
      bitmap.SetSize(kRandomImageWidth, kRandomImageHeight);
      MakeRandomImage(bitmap, random);
      break;
    case kFileTypeFile:
      bitmap = LoadPicture(fileName);
      break;
    default: {
      ImageShelf shelf(folderName);
      shelf.GetImage(bitmap, random);
      break;
    }
  }
}

void ApplySourceEffects(Bitmap& bitmap, bool blur, bool monoTone) {
  if (blur) BlurBitmap(bitmap);
  if (monoTone) MonotoneBitmap(bitmap);
}

}  // namespace tessivane
