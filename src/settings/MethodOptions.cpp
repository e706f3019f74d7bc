#include "settings/MethodOptions.h"

#include <array>

#include "base/Utf.h"
#include "pattern/MethodTable.h"
#include "settings/SettingsTable.h"

namespace tessivane {

namespace {

constexpr const char* kSubkey = "Option";

using V = SettingValue<MethodOptions>;
using R = MethodOptions;

// In the order they are loaded.
const std::array<V, 4> kValues = {{
    {.name = "NoneXY", .field = &R::NoneXY, .numberDefault = R::kAspect.initial},
    {.name = "XY", .field = &R::XY, .numberDefault = R::kAspect.initial},
    {.name = "Rotate", .field = &R::Rotate, .numberDefault = R::kRotate.initial},
    {.name = "Random", .field = &R::Random, .textDefaultOf = &R::DefaultRandom},
}};
// The order they are saved in: NoneXY, Random, Rotate, XY.
constexpr std::array<int, 4> kSaveOrder = {0, 3, 2, 1};

}  // namespace

MethodOptions::MethodOptions(SettingsStore& store) : store_(store) { Load(); }

MethodOptions::~MethodOptions() {
  WriteBackOnDestruction<R>(store_, kSubkey, *this, kValues, loaded_, kSaveOrder);
}

void MethodOptions::Load() {
  loaded_ = LoadSettings<R>(store_, kSubkey, *this, kValues);
  Random = NormalizeRandom(Random);
}

void MethodOptions::Save() {
  SaveSettings<R>(store_, kSubkey, *this, kValues, loaded_, SaveWhat::kEvery, kSaveOrder);
}

void MethodOptions::SetRotate(int32_t value) { Rotate = kRotate.Contains(value) ? value : kRotate.min; }

std::string MethodOptions::DefaultRandom() { return DefaultRandomSet(); }

std::string MethodOptions::NormalizeRandom(const std::string& text) {
  // Counted in UTF-16 units, so a hand-edited text with other characters
  // stays well-formed.
  std::u16string units = Utf8ToUtf16(text);
  const auto length = static_cast<size_t>(MethodCodeCount());  // one character per stored method code
  if (units.size() < length) units.append(length - units.size(), u'0');
  units[static_cast<size_t>(MethodTypeToCode(kMethodTypeRandom))] =
      u'0';  // never pick the random choice itself
  return Utf16ToUtf8(units);
}

}  // namespace tessivane
