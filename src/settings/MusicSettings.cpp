#include "settings/MusicSettings.h"

#include <array>

#include "settings/SettingsTable.h"

namespace tessivane {

namespace {

constexpr const char* kSubkey = "BGM";

using R = MusicSettings;

// Loaded and saved in this order.
const std::array<SettingValue<R>, 2> kValues = {{
    {.name = "File", .field = &R::File},
    {.name = "Flag", .field = &R::Flag},
}};

}  // namespace

MusicSettings::MusicSettings(SettingsStore& store) : store_(store) { Load(); }

MusicSettings::~MusicSettings() {
  SaveOnDestruction(unreadable_, [this] { Save(); });
}

void MusicSettings::Load() { unreadable_ = LoadSettings<R>(store_, kSubkey, *this, kValues); }

void MusicSettings::Save() {
  SaveSettings<R>(store_, kSubkey, *this, kValues);
  unreadable_.clear();  // every value is stored as text now
}

}  // namespace tessivane
