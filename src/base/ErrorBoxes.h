// The two error boxes of the program: the common error box of the core's
// ErrorDisplay (beep, caption "Error" in the installed language) and the standard box for uncaught
// errors (caption "Tessivane", the application title).
#pragma once
#include <windows.h>

#include <string>

#include "base/Errors.h"

namespace tessivane {

extern const wchar_t kApplicationTitle[];  // "Tessivane"

// Error beep, then a modal error box with one OK button.
class MessageBoxErrorDisplay : public ErrorDisplay {
public:
  void ShowErrorMessage(const std::string& text) override;
};

// The standard box for an uncaught error: StandardErrorText(message),
// caption "Tessivane", error icon, OK.
void ShowStandardError(const std::string& message) noexcept;

// The common error box with the out-of-memory message.
void ShowOutOfMemory() noexcept;

// Call from a catch (...) block: a unit failure (UnitFailed) is shown as
// the unit error, any other SilentAbort is ignored, an allocation failure
// gets the out-of-memory box, every other error is shown in the standard
// box. Never throws.
void HandleException() noexcept;

}  // namespace tessivane
