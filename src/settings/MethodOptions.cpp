#include "settings/MethodOptions.h"

#include <array>

#include "base/Utf.h"
#include "pattern/MethodTable.h"
#include "settings/SettingsTable.h"

namespace tessivane {

namespace {

constexpr const char* kSubkey = "Option";
constexpr size_t kRandomLength = 10;  // one character per stored method code

using V = SettingValue<MethodOptions>;
using R = MethodOptions;

// In the order they are loaded.
const std::array<V, 4> kValues = {{
    {.name = "NoneXY", .field = &R::NoneXY, .numberDefault = 0},
    {.name = "XY", .field = &R::XY, .numberDefault = 0},
    {.name = "Rotate", .field = &R::Rotate, .numberDefault = 3},
    {.name = "Random", .field = &R::Random, .textDefault = "11111111"},
}};
// The order they are saved in: NoneXY, Random, Rotate, XY.
constexpr std::array<int, 4> kSaveOrder = {0, 3, 2, 1};

}  // namespace

MethodOptions::MethodOptions(SettingsStore& store) : store_(store) { Load(); }

MethodOptions::~MethodOptions() {
  SaveOnDestruction(unreadable_, [this] { Save(); });
}

void MethodOptions::Load() {
  unreadable_ = LoadSettings<R>(store_, kSubkey, *this, kValues);
  Random = NormalizeRandom(Random);
}

void MethodOptions::Save() {
  SaveSettings<R>(store_, kSubkey, *this, kValues, kSaveOrder);
  unreadable_.clear();  // every value is stored as text now
}

void MethodOptions::SetRotate(int32_t value) { Rotate = value >= 2 && value <= 20 ? value : 2; }

std::string MethodOptions::NormalizeRandom(const std::string& text) {
  // Counted in UTF-16 units, so a hand-edited text with other characters
  // stays well-formed.
  std::u16string units = Utf8ToUtf16(text);
  if (units.size() < kRandomLength) units.append(kRandomLength - units.size(), u'0');
  units[static_cast<size_t>(MethodTypeToCode(kMethodTypeRandom))] = u'0';  // never pick the random choice itself
  return Utf16ToUtf8(units);
}

}  // namespace tessivane
