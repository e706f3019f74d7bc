#include "images/ImageShelf.h"

#include <cstddef>
#include <stdexcept>

#include "base/FileSystem.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "base/Texts.h"
#include "images/FileListing.h"

namespace tessivane {

ImageShelf::ImageShelf(const std::string& folderName) {
  switch (ListFiles(folderName, &files_)) {
    case ListFolderResult::kListed:
      break;
    case ListFolderResult::kNoFolder:
      throw std::runtime_error(Tr(TextId::kFolderNotFound));
    case ListFolderResult::kUnreadable:
      throw std::runtime_error(Tr(TextId::kFolderUnreadable));
  }
  // Every entry is opened by its full path: a bare name would be looked up
  // in the current folder and could open a file from outside this one.
  for (std::string& file : files_) file = folderName + kPathDelimiter + file;
}

const std::string& ImageShelf::Draw(RandomGenerator& random) {
  if (files_.empty()) throw std::runtime_error(Tr(TextId::kNoImageFile));
  drawn_ = random.Int(static_cast<uint32_t>(files_.size()));
  return files_[drawn_];
}

void ImageShelf::DropDrawn() {
  if (drawn_ < files_.size()) files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(drawn_));
}

void ImageShelf::Remove(const std::string& path) {
  std::erase(files_, path);
  drawn_ = files_.size();  // nothing drawn to drop
}

void ImageShelf::GetImage(Bitmap& bitmap, RandomGenerator& random) {
  random.Randomize();
  for (;;) {
    const std::string& path = Draw(random);
    try {
      bitmap = LoadPicture(path);
      return;
    } catch (const PictureError&) {
      DropDrawn();
    }
  }
}

}  // namespace tessivane
