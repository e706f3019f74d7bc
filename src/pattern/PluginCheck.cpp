#include "pattern/PluginCheck.h"

#include "base/Errors.h"
#include "pattern/PluginLibrary.h"

namespace tessivane {

void CheckPluginFile(const std::string& fileName) {
  PluginLibrary library = PluginLibrary::Open(fileName);
  if (!library.Loaded()) {
    ShowUnitError(kErrPluginLoad, DetailFile(fileName));
    throw SilentAbort();
  }
  auto identify = library.Find<TessivaneDllProc>(kExportTessivaneDll);
  if (!identify) {
    ShowUnitError(kErrPluginExport, DetailFunction(kExportTessivaneDll));
    throw SilentAbort();  // the handle unloads the library on the way out
  }
  if (identify() != 1) ShowUnitError(kErrPluginUnusable, UnitErrorMessage(kErrPluginUnusable));
}

}  // namespace tessivane
