#include "images/ImageShelf.h"

#include <cstddef>
#include <stdexcept>

#include "base/FileSystem.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "base/Texts.h"
#include "images/FileListing.h"

namespace tessivane {

namespace {

// The extension of a file name: from its last '.', unless a folder
// delimiter or a drive colon comes after it; empty without one.
std::string ExtractFileExt(const std::string& name) {
  size_t at = name.find_last_of(std::string(".:\\") + kPathDelimiter);
  if (at == std::string::npos || name[at] != '.') return {};
  return name.substr(at);
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

ImageShelf::ImageShelf(const std::string& folderName) {
  if (ListFiles(folderName, &files_) == ListFolderResult::kUnreadable)
    throw std::runtime_error(Tr(TextId::kFolderUnreadable));
  // Every entry is opened by its full path: a bare name would be looked up
  // in the current folder and could open a file from outside this one.
  for (std::string& file : files_) file = folderName + kPathDelimiter + file;
}

bool ImageShelf::IsImageFile(const std::string& name) {
  const std::string ext = LowerAscii(ExtractFileExt(name));
  return ext == ".bmp" || ext == ".jpg" || ext == ".jpeg" || ext == ".png";
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
