#include "settings/UBGMReg.h"

#include <array>

#include "settings/SettingsTable.h"

namespace tessivane {

namespace {

constexpr const char* kSubkey = "BGM";

using R = TBGMReg;

// Loaded and saved in this order.
const std::array<SettingValue<R>, 2> kValues = {{
    {.name = "File", .field = &R::File},
    {.name = "Flag", .field = &R::Flag},
}};

}  // namespace

TBGMReg::TBGMReg(SettingsStore& store) : store_(store) { Load(); }

TBGMReg::~TBGMReg() {
  SaveOnDestruction([this] { Save(); });
}

void TBGMReg::Load() { LoadSettings<R>(store_, kSubkey, *this, kValues); }
void TBGMReg::Save() const { SaveSettings<R>(store_, kSubkey, *this, kValues); }

}  // namespace tessivane
