#include <windows.h>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "base/FileSystem.h"
#include "base/ScopedWin.h"
#include "base/Utf.h"

namespace tessivane {

ReadFileResult ReadOnlyFile::Open(const std::string& path, uint64_t maxBytes) {
  file_.reset();
  size_ = 0;
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(Widen(path).c_str(), L"rb"), &std::fclose);
  if (!file) return ReadFileResult::kCannotOpen;
  struct _stat64 info;
  if (_fstat64(_fileno(file.get()), &info) != 0) return ReadFileResult::kReadError;
  if ((info.st_mode & _S_IFMT) != _S_IFREG) return ReadFileResult::kNotAFile;
  if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) return ReadFileResult::kTooLarge;
  file_ = std::move(file);
  size_ = static_cast<uint64_t>(info.st_size);
  return ReadFileResult::kOk;
}

ListFolderResult ListFolder(const std::string& folder, std::vector<std::string>& names) {
  WIN32_FIND_DATAW found;
  ScopedFind search(FindFirstFileW(Widen(folder + "*").c_str(), &found));
  if (!search) {
    const DWORD error = GetLastError();
    if (!FolderExists(folder)) return ListFolderResult::kNoFolder;
    // A folder that exists but has no entry is simply empty.
    return error == ERROR_FILE_NOT_FOUND ? ListFolderResult::kListed : ListFolderResult::kUnreadable;
  }
  do {
    names.push_back(Narrow(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return GetLastError() == ERROR_NO_MORE_FILES ? ListFolderResult::kListed : ListFolderResult::kUnreadable;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

}  // namespace tessivane
