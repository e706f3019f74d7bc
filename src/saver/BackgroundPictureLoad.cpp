#include "saver/BackgroundPictureLoad.h"

#include <utility>

#include "codecs/PictureLoader.h"
#include "saver/SourcePicture.h"

namespace tessivane {

BackgroundPictureLoad::BackgroundPictureLoad(std::string path, bool blur, bool monoTone, ReadyCallback ready,
                                             Loader loader, const ThreadStarter& start)
    : path_(std::move(path)),
      work_(
          [path = path_, loader = loader ? std::move(loader) : Loader(&LoadPicture), blur, monoTone] {
            Bitmap picture = loader(path);
            ApplySourceEffects(picture, blur, monoTone);
            return picture;
          },
          std::move(ready), start) {}

}  // namespace tessivane
