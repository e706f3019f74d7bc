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
    throw;
  } catch (const UnitFailed& e) {
    try {
      ShowUnitError(e.Failure());
    } catch (...) {
      ShowOutOfMemory();  // no memory left to word the failure
    }
  } catch (const SilentAbort&) {
    // Already recorded or shown where it happened.
  } catch (const PluginRunEnded&) {
    // The run ended while a plug-in was being asked: nothing to show.
  } catch (const ErrorMessage& e) {
    ShowErrorMessage(e.what());
  } catch (const std::exception& e) {
    if (IsAllocationFailure(e))
      ShowOutOfMemory();
    else
      ShowStandardError(e.what());
  } catch (...) {
    ShowStandardError(Tr(TextId::kUnknownError));
  }
}

}  // namespace tessivane
