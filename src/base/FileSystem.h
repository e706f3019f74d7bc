// What the core asks of the file system: reading a whole file and listing
// a folder. Paths are UTF-8; the Windows half converts them to UTF-16, so
// names with any Unicode character work on both platforms.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tessivane {

// The separator of folder and name in the paths the core builds.
#if defined(_WIN32)
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

#if defined(_WIN32)
// The full path of the running program; empty when the system cannot say.
std::wstring ProgramPath();
#endif

enum class ReadFileResult { kOk, kCannotOpen, kNotAFile, kTooLarge, kReadError };

// A regular file opened for reading at any offset, so that a decoder can
// look at its first bytes and then read only what it needs.
class ReadOnlyFile {
public:
  // Opens the file at `path`; a file larger than maxBytes is refused
  // before anything is read. Any previous file is closed first.
  ReadFileResult Open(const std::string& path, uint64_t maxBytes);
  bool IsOpen() const { return file_ != nullptr; }
  uint64_t Size() const { return size_; }
  // Reads up to `count` bytes at `offset` into `out`; fewer only at the
  // end of the file. False on a read error.
  bool ReadAt(uint64_t offset, uint8_t* out, size_t count, size_t& done);

private:
  std::unique_ptr<FILE, int (*)(FILE*)> file_{nullptr, &std::fclose};
  uint64_t size_ = 0;
};

enum class ListFolderResult {
  kListed,      // every entry was added
  kNoFolder,    // no folder of that name: nothing added
  kUnreadable,  // the folder exists, but listing it failed (access denied, out of handles, ...)
};

// Appends to `names` the name of every entry of `folder` (which ends with
// kPathDelimiter), hidden and system entries, subfolders and "." and ".."
// included, in the order the system returns them.
ListFolderResult ListFolder(const std::string& folder, std::vector<std::string>& names);

// Whether `path` names an existing file (not a folder), as the settings
// dialog tests a chosen picture file.
bool FileExists(const std::string& path);
// Whether `path` names an existing folder; a trailing delimiter is allowed.
bool FolderExists(const std::string& path);

}  // namespace tessivane
