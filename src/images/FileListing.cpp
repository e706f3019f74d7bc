#include "images/FileListing.h"

#include <stdexcept>

#include "base/FileSystem.h"
#include "images/ImageTexts.h"

namespace tessivane {

void ListFiles(const std::string& folder, std::vector<std::string>* list) {
  ListFilesMatching(folder, "*.*", list);
}

void ListFilesMatching(const std::string& folder, const std::string& pattern, std::vector<std::string>* list) {
  if (list == nullptr) return;
  if (folder.empty()) throw std::out_of_range(kRangeCheckErrorText);
  std::string path = folder;
  if (path.back() != kPathDelimiter) path += kPathDelimiter;
  ListFolder(path, pattern, *list);
}

}  // namespace tessivane
