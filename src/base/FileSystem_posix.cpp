#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "base/FileSystem.h"
#include "base/ScopedHandle.h"

namespace tessivane {

namespace {

// A file descriptor; -1 is "none".
struct DescriptorTraits : PlainHandleTraits<int, -1> {
  static constexpr bool Valid(int fd) { return fd >= 0; }
  static void Close(int fd) { close(fd); }
};
using Descriptor = ScopedHandle<DescriptorTraits>;

}  // namespace

ReadFileResult ReadOnlyFile::Open(const std::string& path, uint64_t maxBytes) {
  file_.reset();
  size_ = 0;
  // Non-blocking, so that a named pipe in a picture folder cannot stall
  // the open; it is then refused as not a regular file.
  Descriptor descriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!descriptor) return ReadFileResult::kCannotOpen;
  struct stat info;
  if (fstat(descriptor.get(), &info) != 0) return ReadFileResult::kReadError;
  if (!S_ISREG(info.st_mode)) return ReadFileResult::kNotAFile;
  if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) return ReadFileResult::kTooLarge;
  FILE* stream = fdopen(descriptor.get(), "rb");
  if (!stream) return ReadFileResult::kReadError;
  descriptor.release();  // the stream owns it now
  file_.reset(stream);
  size_ = static_cast<uint64_t>(info.st_size);
  return ReadFileResult::kOk;
}

ListFolderResult ListFolder(const std::string& folder, std::vector<std::string>& names) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
  if (!dir) return FolderExists(folder) ? ListFolderResult::kUnreadable : ListFolderResult::kNoFolder;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (!entry) break;
    names.emplace_back(entry->d_name);
  }
  return errno == 0 ? ListFolderResult::kListed : ListFolderResult::kUnreadable;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace tessivane
