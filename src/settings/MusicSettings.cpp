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

MusicSettings::~MusicSettings() { WriteBackOnDestruction<R>(store_, kSubkey, *this, kValues, loaded_); }

void MusicSettings::Load() { loaded_ = LoadSettings<R>(store_, kSubkey, *this, kValues); }

void MusicSettings::Save() { SaveSettings<R>(store_, kSubkey, *this, kValues, loaded_, SaveWhat::kEvery); }

}  // namespace tessivane
