#include "dialogs/OptionsDialogModel.h"

#include "base/Errors.h"
#include "dialogs/ControlIds.h"
#include "base/Texts.h"
#include "dialogs/SettingsDialogModel.h"

namespace tessivane::dialogs {

namespace {

constexpr int kRandomTextLength = 10;  // one character per stored method code 0..9

// The character of the "Random" text that a list position reads.
int RandomCharacterOf(int position) { return MethodTypeToCode(ListPositionToMethodType(position)); }

int32_t ClampAspect(int32_t step) { return step < kAspectMin ? kAspectMin : step > kAspectMax ? kAspectMax : step; }

}  // namespace

std::string_view RandomListLabel(int position) { return MethodListLabels().at(static_cast<size_t>(position)); }

std::array<bool, kRandomListCount> MarksFromRandom(const std::string& random) {
  std::array<bool, kRandomListCount> marks{};
  for (int code = 0; code < kRandomTextLength && code < static_cast<int>(random.size()); ++code) {
    if (random[static_cast<size_t>(code)] != '1') continue;
    const int type = CodeToMethodType(code);
    if (type == kMethodTypeRandom) continue;
    marks[static_cast<size_t>(MethodTypeToListPosition(type))] = true;
  }
  return marks;
}

std::string RandomFromMarks(const std::array<bool, kRandomListCount>& marks) {
  std::string random(kRandomTextLength, '0');
  for (int position = 0; position < kRandomListCount; ++position) {
    if (marks[static_cast<size_t>(position)]) random[static_cast<size_t>(RandomCharacterOf(position))] = '1';
  }
  return random;
}

OptionsDialogModel::OptionsDialogModel(SettingsStore& store) : record_(store) {}

OptionsControls OptionsDialogModel::ActivationControls() const {
  OptionsControls c;
  c.distortValueText = std::to_string(record_.Rotate);
  c.noConversionAspect = ClampAspect(record_.NoneXY);
  c.rectangleAspect = ClampAspect(record_.XY);
  c.marks = MarksFromRandom(record_.Random);
  return c;
}

OptionsOutcome OptionsDialogModel::Save(const OptionsControls& c) {
  int32_t value = 0;
  if (!ParseInteger(c.distortValueText, value) || value < kDistortValueMin || value > kDistortValueMax) {
    return {false, Format(Tr(TextId::kDistortValueRange), kDistortValueMin, kDistortValueMax), kPageDistortedSquare};
  }
  const std::string random = RandomFromMarks(c.marks);
  if (random.find('1') == std::string::npos) return {false, Tr(TextId::kNoMethodForRandom), kPageRandom};

  // Everything is taken only once both checks passed, so a rejected input
  // never reaches the store, not even when the dialog is closed afterwards.
  record_.SetRotate(value);
  record_.NoneXY = ClampAspect(c.noConversionAspect);
  record_.XY = ClampAspect(c.rectangleAspect);
  record_.Random = random;
  record_.Save();
  return {};
}

}  // namespace tessivane::dialogs
