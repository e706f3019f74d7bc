// What a run starts from: the conversion method it uses, its source
// picture with the load-time effects, and the pace of its frames. The
// saver window, its preview and the command-line renderer share these.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/Bitmap.h"
#include "base/Point.h"
#include "base/Random.h"
#include "pattern/Composer.h"
#include "settings/RunConfig.h"

namespace tessivane {

// The size of the random picture the saver paints for itself.
inline constexpr int kRandomImageWidth = 640;
inline constexpr int kRandomImageHeight = 480;

// The type number a run's composer takes: methodType, with "choose at
// random" resolved through `randomSet` (one "0"/"1" per stored method code,
// as the option record keeps it) and drawn with `generator`.
int ChooseRunMethodType(int methodType, const std::string& randomSet, RandomGenerator& generator);

// The composer of a run: its method chosen as above (a random one drawn
// with `random`, which the composer then draws its motion from) and made
// by `factory`. A method that cannot be made leaves its error on the
// composer (Error()), as the composer's constructor does.
std::unique_ptr<Composer> MakeRunComposer(const RunConfig& config, RandomGenerator& random,
                                          MethodFactory factory = &CreateMethodByType);
// What the run's method is made with: the plug-in's file, the rotation and
// the motion kind.
ComposerParams ComposerParamsOf(const RunConfig& config);
// The aspect step that shapes the piece of a method of `methodType`.
int32_t PieceAspectOf(const RunConfig& config, int methodType);
// What the composer of a method of `methodType` makes its pieces with.
PieceSettings PieceSettingsOf(const RunConfig& config, int methodType);
// Prepares the composer for a window of `size` and the picture `source`
// with the run's cut, speed, aspect, shuffle and brightness; fails as
// Composer::Prepare does.
void PrepareRunComposer(Composer& composer, const RunConfig& config, Point size, Bitmap source);

// Loads the source picture of a kind (kFileTypeRandom, kFileTypeFile, any
// other value a folder) into `bitmap`: the random picture at 640 x 480, the
// picture file `fileName`, or one picture drawn from the folder
// `folderName`; the random picture and the folder's draw take `random`.
// Errors of the file (PictureError) or the folder (std::runtime_error)
// propagate with their own message.
void LoadSourcePicture(uint8_t fileType, const std::string& fileName, const std::string& folderName,
                       Bitmap& bitmap, RandomGenerator& random);

// The load-time effects in their fixed order: blur, then monotone.
void ApplySourceEffects(Bitmap& bitmap, bool blur, bool monoTone);

}  // namespace tessivane
