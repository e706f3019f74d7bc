#include "settings/MainSettings.h"

#include <array>

#include "base/Errors.h"
#include "motion/MotionPaths.h"
#include "pattern/MethodTable.h"
#include "settings/SettingsTable.h"

namespace tessivane {

namespace {

constexpr const char* kSubkey = "Settings";

int32_t ImageChangeTimeRule(int32_t value) { return value < 0 ? 60 : value; }

using V = SettingValue<MainSettings>;
using R = MainSettings;

// The values in the order they are loaded and saved.
const std::array<V, 16> kValues = {{
    {.name = "Size", .field = &R::Size, .numberDefault = R::kSize.initial},
    {.name = "Move", .field = &R::Move, .numberDefault = R::kMove.initial},
    {.name = "Weight", .field = &R::Weight, .numberDefault = R::kWeight.initial},
    {.name = "BmpFileName", .field = &R::BmpFileName},
    {.name = "ImageChangeTime",
     .field = &R::ImageChangeTime,
     .numberDefault = 60,
     .loadRule = ImageChangeTimeRule},
    {.name = "ImageFolderName", .field = &R::ImageFolderName},
    {.name = "FileType",
     .field = &R::FileType,
     .numberDefault = 1,
     .loadRule = [](int32_t code) -> int32_t { return R::CodeToFileType(code); },
     .writeRule = [](int32_t type) -> int32_t { return R::FileTypeToCode(static_cast<uint8_t>(type)); }},
    {.name = "UnitType",
     .field = &R::UnitType,
     .numberDefault = 0,
     .loadRule = [](int32_t code) -> int32_t { return CodeToMethodType(code); },
     .writeRule = [](int32_t type) -> int32_t { return MethodTypeToCode(type); }},
    {.name = "BrightnessChange", .field = &R::BrightnessChange},
    {.name = "MonoTone", .field = &R::MonoTone},
    {.name = "ShadeOff", .field = &R::Blur},
    {.name = "Shuffle", .field = &R::Shuffle},
    {.name = "TransType",
     .field = &R::TransType,
     .numberDefault = 1,
     .loadRule = [](int32_t code) -> int32_t { return CodeToTransType(code); },
     .writeRule = [](int32_t kind) -> int32_t { return TransTypeToCode(static_cast<uint8_t>(kind)); }},
    {.name = "DllFileName", .field = &R::DllFileName},
    {.name = "MovePositionType",
     .field = &R::MovePositionType,
     .numberDefault = 0,
     .loadRule = [](int32_t code) -> int32_t { return static_cast<int32_t>(CodeToMotionKind(code)); },
     .writeRule = [](int32_t kind) -> int32_t { return MotionKindToCode(static_cast<uint8_t>(kind)); }},
    {.name = "FadeTime",
     .field = &R::FadeTime,
     .numberDefault = R::kFadeTime.initial,
     .loadRule = [](int32_t tenths) -> int32_t { return R::kFadeTime.Clamp(tenths); }},
}};

void CheckedAssign(int32_t& field, int32_t value, const SettingRange& range) {
  if (!range.Contains(value)) throw SilentAbort();
  field = value;
}

}  // namespace

int32_t TransTypeToCode(uint8_t kind) { return kind == kTransPlugin ? 2 : 1; }
uint8_t CodeToTransType(int32_t code) { return code == 2 ? kTransPlugin : kTransBasic; }

MainSettings::MainSettings(SettingsStore& store) : store_(store) { Load(); }

MainSettings::~MainSettings() { WriteBackOnDestruction<R>(store_, kSubkey, *this, kValues, loaded_); }

void MainSettings::Load() { loaded_ = LoadSettings<R>(store_, kSubkey, *this, kValues); }

void MainSettings::Save() { SaveSettings<R>(store_, kSubkey, *this, kValues, loaded_, SaveWhat::kEvery); }

void MainSettings::SetSize(int32_t value) { CheckedAssign(Size, value, kSize); }
void MainSettings::SetMove(int32_t value) { CheckedAssign(Move, value, kMove); }
void MainSettings::SetWeight(int32_t value) { CheckedAssign(Weight, value, kWeight); }
void MainSettings::SetImageChangeTime(int32_t value) { ImageChangeTime = ImageChangeTimeRule(value); }

int32_t MainSettings::FileTypeToCode(uint8_t fileType) { return fileType; }
uint8_t MainSettings::CodeToFileType(int32_t code) {
  return code == kFileTypeFile || code == kFileTypeFolder ? static_cast<uint8_t>(code) : kFileTypeRandom;
}

}  // namespace tessivane
