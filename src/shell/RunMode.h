// The run mode of a start, decided from the command line alone. Portable:
// the Windows entry point feeds it the arguments and stores the result.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessivane {

enum class RunMode : std::uint8_t {
  kSaver,           // full-screen saver
  kPreview,         // live miniature inside a foreign window
  kChangePassword,  // the system's password-change dialog, then end
  kSettings,        // the settings dialog
};

struct RunModeChoice {
  RunMode mode = RunMode::kSettings;
  std::int32_t parentWnd = 0;  // the window handle's 32 significant bits; 0 for none
  // Settings mode: the window that the settings dialog belongs to, the
  // number after "/C:" (the control panel's window), else parentWnd.
  std::int32_t settingsOwner = 0;
};

// args are the command-line arguments after the program name. The first
// one, upper-cased, is compared as a whole: "-S" "/S" saver, "-P" "/P" "-L"
// "/L" preview, "-A" "/A" password change, anything else (none, "/C:1234",
// "/C") settings. The second one, in every mode, is the parent window.
RunModeChoice DecideRunMode(const std::vector<std::string>& args);

// A decimal window handle: optional sign, then digits only, within
// -2147483648..4294967295 (the handle's 32 bits, signed or unsigned).
// Anything else, the empty text included, gives 0.
std::int32_t ParseWindowHandle(std::string_view text);

}  // namespace tessivane
