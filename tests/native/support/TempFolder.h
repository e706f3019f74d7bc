// Folders and files under the temporary directory for tests that read
// from disk. Names are UTF-8, as the core takes them.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tessivane::testing {

// A path as UTF-8, as the core takes it (string() would give the
// Windows code page).
inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh, empty folder of the given name under the temporary directory,
// removed with everything in it when the object goes.
class TempFolder {
public:
  // The folder's name is `name` plus the process id, so that test programs
  // running at the same time (ctest -j, two build trees) never share one.
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / Child(name + "-" + std::to_string(ProcessId()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Native() const { return path_; }
  std::string Path() const { return Utf8(path_); }
  // The UTF-8 path of a file in the folder.
  std::string File(const std::string& name) const { return Utf8(path_ / Child(name)); }
  // Writes a file into the folder and returns its UTF-8 path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path file = path_ / Child(name);
    WriteFile(file, bytes);
    return Utf8(file);
  }

private:
  static long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
  }

  static std::filesystem::path Child(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
  }
  std::filesystem::path path_;
};

}  // namespace tessivane::testing
