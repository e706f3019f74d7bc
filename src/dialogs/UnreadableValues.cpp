#include "dialogs/UnreadableValues.h"

#include "base/ErrorBoxes.h"
#include "settings/SettingsTexts.h"

namespace tessivane::dialogs {

void ReportUnreadableValues(const std::vector<std::string>& names) {
  if (!names.empty()) ShowStandardError(DataTypeInvalidText(names.front()));
}

}  // namespace tessivane::dialogs
