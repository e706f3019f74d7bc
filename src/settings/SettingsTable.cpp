#include "settings/SettingsTable.h"

#include "base/Errors.h"

namespace tessivane {

int32_t ParseSettingInt(const std::string& text, int32_t fallback) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return fallback;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return fallback;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return fallback;  // stop before any overflow
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return fallback;
  return static_cast<int32_t>(value);
}

void ShowSaveFailure(const char* message) noexcept {
  try {
    ShowErrorMessage(StandardErrorText(message));
  } catch (...) {
  }
}

}  // namespace tessivane
