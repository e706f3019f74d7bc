#include "dialogs/OptionsDialogModel.h"

#include "base/Errors.h"
#include "dialogs/ControlIds.h"
#include "base/Texts.h"
#include "dialogs/SettingsDialogModel.h"

namespace tessivane::dialogs {

namespace {

// The character of the "Random" text that a list position reads.
int RandomCharacterOf(int position) { return MethodTypeToCode(ListPositionToMethodType(position)); }

int32_t ClampAspect(int32_t step) { return MethodOptions::kAspect.Clamp(step); }

}  // namespace

int RandomListCount() { return MethodListCount() - 1; }

std::string_view RandomListLabel(int position) {
  return MethodListLabels().at(static_cast<size_t>(position));
}

RandomMarks MarksFromRandom(const std::string& random) {
  RandomMarks marks(static_cast<size_t>(RandomListCount()));
  for (int code = 0; code < MethodCodeCount() && code < static_cast<int>(random.size()); ++code) {
    if (random[static_cast<size_t>(code)] != '1') continue;
    const int type = CodeToMethodType(code);
    if (type == kMethodTypeRandom) continue;
    marks[static_cast<size_t>(MethodTypeToListPosition(type))] = true;
  }
  return marks;
}

std::string RandomFromMarks(const RandomMarks& marks) {
  std::string random(static_cast<size_t>(MethodCodeCount()), '0');
  for (int position = 0; position < RandomListCount() && position < static_cast<int>(marks.size());
       ++position) {
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
    return {false, Format(Tr(TextId::kDistortValueRange), kDistortValueMin, kDistortValueMax),
            kPageDistortedSquare};
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
