#include "images/FileListing.h"

#include <stdexcept>

#include "base/FileSystem.h"
#include "base/Texts.h"

namespace tessivane {

ListFolderResult ListFiles(const std::string& folder, std::vector<std::string>* list) {
  if (list == nullptr) return ListFolderResult::kListed;
  if (folder.empty()) throw std::out_of_range(Tr(TextId::kRangeCheckError));
  std::string path = folder;
  if (path.back() != kPathDelimiter) path += kPathDelimiter;
  return ListFolder(path, *list);
}

}  // namespace tessivane
