#include "base/ErrorBoxes.h"

#include <new>
#include <stdexcept>

#include "base/Texts.h"
#include "base/Utf.h"

namespace tessivane {

const wchar_t kApplicationTitle[] = L"Tessivane";

namespace {

// The box belongs to the program's active window, so it comes up above the
// top-most saver window instead of behind it.
void ShowBox(const std::string& text, const wchar_t* caption) noexcept {
  try {
    const std::wstring wide = Widen(text);
    MessageBoxW(GetActiveWindow(), wide.c_str(), caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  } catch (...) {
    // Out of memory while converting the text: the box cannot be built.
    MessageBoxW(GetActiveWindow(), L"", caption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
}

}  // namespace

void MessageBoxErrorDisplay::ShowErrorMessage(const std::string& text) {
  MessageBeep(MB_ICONHAND);
  ShowBox(text, Widen(Tr(TextId::kErrorCaption)).c_str());
}

void ShowOutOfMemory() noexcept {
  MessageBeep(MB_ICONHAND);
  ShowBox(Tr(TextId::kOutOfMemory), Widen(Tr(TextId::kErrorCaption)).c_str());
}

void ShowStandardError(const std::string& message) noexcept {
  try {
    ShowBox(StandardErrorText(message), kApplicationTitle);
  } catch (...) {
    ShowBox(message, kApplicationTitle);
  }
}

void HandleException() noexcept {
  try {
    const FailureReport report = ReportOf(std::current_exception());
    switch (report.box) {
      case FailureReport::Box::kNone:
        break;  // already shown where it happened, or the run ended
      case FailureReport::Box::kError:
        // Through the program's error display; without one (running out of
        // memory before it is installed) in the box itself.
        if (GetErrorDisplay())
          ShowErrorMessage(report.text);
        else
          MessageBoxErrorDisplay().ShowErrorMessage(report.text);
        break;
      case FailureReport::Box::kStandard:
        ShowBox(report.text, kApplicationTitle);
        break;
    }
  } catch (...) {
    ShowOutOfMemory();  // no memory left to word the failure
  }
}

}  // namespace tessivane
