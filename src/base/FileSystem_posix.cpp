#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "base/FileSystem.h"

namespace tessivane {

ReadFileResult ReadWholeFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return ReadFileResult::kCannotOpen;
  struct stat info;
  if (fstat(fileno(file.get()), &info) != 0) return ReadFileResult::kReadError;
  if (!S_ISREG(info.st_mode)) return ReadFileResult::kNotAFile;
  if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) return ReadFileResult::kTooLarge;
  bytes.resize(static_cast<size_t>(info.st_size));
  if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    bytes.clear();
    return ReadFileResult::kReadError;
  }
  return ReadFileResult::kOk;
}

void ListFolder(const std::string& folder, const std::string& pattern, std::vector<std::string>& names) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
  if (!dir) return;
  while (const dirent* entry = readdir(dir.get())) {
    if (WildcardMatch(pattern, entry->d_name)) names.emplace_back(entry->d_name);
  }
}

}  // namespace tessivane
