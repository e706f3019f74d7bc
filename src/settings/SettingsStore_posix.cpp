#include "settings/MemorySettingsStore.h"

namespace tessivane {

// Without a registry the settings live for the run of the process.
SettingsStore& PlatformSettingsStore() {
  static MemorySettingsStore store;
  return store;
}

}  // namespace tessivane
