#include <dlfcn.h>
#include <sys/stat.h>

#include "pattern/PluginLibrary.h"

namespace tessivane {

PluginLibrary PluginLibrary::Open(const std::string& fileName) {
  // dlopen takes an empty name for the program itself: no library.
  if (fileName.empty()) return PluginLibrary();
  // A path names a file, which must be a regular one: dlopen would wait for
  // ever on a named pipe that no one writes.
  struct stat info;
  if (fileName.find('/') != std::string::npos && stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
    return PluginLibrary();
  // RTLD_NOW: a library with unresolved symbols fails here, not mid-call.
  return PluginLibrary(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL));
}

PluginLibrary::AnyProc PluginLibrary::FindSymbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<AnyProc>(dlsym(handle_, name));
}

void PluginLibrary::Close() {
  if (handle_) dlclose(std::exchange(handle_, nullptr));
}

}  // namespace tessivane
