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
  if (ListFiles(folderName, &files_) == ListFolderResult::kUnreadable)
    throw std::runtime_error(Tr(TextId::kFolderUnreadable));
  // Every entry is opened by its full path: a bare name would be looked up
  // in the current folder and could open a file from outside this one.
  for (std::string& file : files_) file = folderName + kPathDelimiter + file;
}

size_t ImageShelf::Draw() const {
  if (files_.empty()) throw std::runtime_error(Tr(TextId::kNoImageFile));
  return RandomInt(static_cast<uint32_t>(files_.size()));
}

void ImageShelf::Drop(size_t index) {
  if (index < files_.size()) files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
}

void ImageShelf::GetImage(Bitmap& bitmap) {
  Randomize();
  for (;;) {
    const size_t index = Draw();
    try {
      bitmap = LoadPicture(files_[index]);
      return;
    } catch (const PictureError&) {
      Drop(index);
    }
  }
}

}  // namespace tessivane
