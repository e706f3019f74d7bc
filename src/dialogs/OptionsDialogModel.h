// What the method options dialog decides, without any window: the values
// its controls take at every activation, the marks of the random-choice
// list read from and written to the "Random" text, and the two rejections
// of OK and update with the page to show.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/MethodTable.h"
#include "settings/SettingsStore.h"
#include "settings/MethodOptions.h"

namespace tessivane::dialogs {

// The random-choice list: the method list without its last item (the
// random choice itself), so list position p is method list position p.
int RandomListCount();
std::string_view RandomListLabel(int position);
// One mark per position of the random-choice list.
using RandomMarks = std::vector<bool>;

// Aspect steps of the rectangle and no-conversion scroll bars.
inline constexpr int32_t kAspectMin = MethodOptions::kAspect.min;
inline constexpr int32_t kAspectMax = MethodOptions::kAspect.max;
// Accepted values of the distorted-square method.
inline constexpr int32_t kDistortValueMin = MethodOptions::kRotate.min;
inline constexpr int32_t kDistortValueMax = MethodOptions::kRotate.max;

struct OptionsControls {
  std::string distortValueText;    // edtVal
  int32_t rectangleAspect = 0;     // srbXY
  int32_t noConversionAspect = 0;  // srbNoneXY
  RandomMarks marks;               // clbRandom, by list position
};

// The marks of the list that a "Random" text gives: position p follows the
// character of p's stored method code.
RandomMarks MarksFromRandom(const std::string& random);
// The "Random" text of a set of marks, one character per stored method code.
std::string RandomFromMarks(const RandomMarks& marks);

struct OptionsOutcome {
  bool saved = true;
  std::string message;  // for ShowErrorMessage when not saved
  int page = 0;         // the page to show when not saved (ControlIds.h kPage*)
};

class OptionsDialogModel {
public:
  // Loads the option record; it is written back when the model goes.
  explicit OptionsDialogModel(SettingsStore& store = CurrentSettingsStore());

  // What the controls show whenever the dialog becomes active.
  OptionsControls ActivationControls() const;

  // OK and update: rejects a distorted-square value that is not an integer
  // from 2 to 20, then a list without any mark; otherwise stores and saves
  // everything. A rejected input is neither stored nor saved. Registry
  // errors while saving propagate as RegistryError.
  OptionsOutcome Save(const OptionsControls& controls);

  const MethodOptions& Record() const { return record_; }

private:
  MethodOptions record_;
};

}  // namespace tessivane::dialogs
