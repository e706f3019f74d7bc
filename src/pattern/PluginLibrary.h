// Loading a transform plug-in library: an owning handle that unloads the
// library when it goes out of scope, plus the plug-in's export names and
// function types. The platform half lives in PluginLibrary_win32.cpp
// (LoadLibraryW) and PluginLibrary_posix.cpp (dlopen).
#pragma once
#include <cstdint>
#include <string>
#include <utility>

// The calling convention and the function types come from the plug-in
// kit's header, the one that plug-ins compile against.
#define TESSIVANE_PLUGIN_HOST
#include "TessivanePlugin.h"

namespace tessivane {

// The four exports, looked up by these exact names.
inline constexpr const char* kExportTessivaneDll = "TessivaneDLL";
inline constexpr const char* kExportMakeImageSize = "MakeImageSize";
inline constexpr const char* kExportMakeTransMethod = "MakeTransMethod";
inline constexpr const char* kExportSymmetryType = "SymmetryType";
// The four in the order they are looked up.
inline constexpr const char* kPluginExports[] = {kExportTessivaneDll, kExportMakeImageSize,
                                                 kExportMakeTransMethod, kExportSymmetryType};

// Answers 1 for a plug-in written for this interface.
using TessivaneDllProc = TessivaneDllFunction;
// (CutWidth, CutHeight, out TileWidth, out TileHeight); result unused.
using MakeImageSizeProc = MakeImageSizeFunction;
// (TileWidth, TileHeight, X, Y, out SourceX, out SourceY); result unused.
using MakeTransMethodProc = MakeTransMethodFunction;
// Answers the symmetry type 1..4.
using SymmetryTypeProc = SymmetryTypeFunction;

class PluginLibrary {
public:
  PluginLibrary() = default;
  ~PluginLibrary() { Close(); }
  PluginLibrary(PluginLibrary&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  PluginLibrary& operator=(PluginLibrary&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads the library at fileName (UTF-8), passed unchanged to the
  // platform, so a bare name is searched for the usual way. Never throws;
  // the result is not Loaded() when loading failed. No system error box
  // is shown for a damaged or missing file.
  static PluginLibrary Open(const std::string& fileName);

  bool Loaded() const { return handle_ != nullptr; }

  // The export `name`, or null when it is missing (or nothing is loaded).
  template <class Proc>
  Proc Find(const char* name) const {
    return reinterpret_cast<Proc>(FindSymbol(name));
  }

  // Unloads the library now; does nothing when none is loaded.
  void Close();

private:
  explicit PluginLibrary(void* handle) : handle_(handle) {}
  using AnyProc = void (*)();
  AnyProc FindSymbol(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace tessivane
