// Failures of the core: the silent abort, the unit error table and the
// service that shows errors (the shell shows them; tests record them).
#pragma once
#include <cstddef>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

namespace tessivane {

// Unwinds after an error has been recorded or shown. The top level
// ignores it without any message.
class SilentAbort : public std::exception {
public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// A unit error as one value, the same from where it happens to the front
// end that shows it: its number (UnitError), the detail text (may be
// empty) and the file or folder it concerns (empty when none).
struct UnitFailure {
  int32_t number = 0;
  std::string detail{};
  std::string name{};
};

// Thrown with a unit error. A silent abort to code that only unwinds; the
// code that shows errors catches it and shows Failure().
class UnitFailed : public SilentAbort {
public:
  explicit UnitFailed(UnitFailure failure) : failure_(std::move(failure)) {}
  const UnitFailure& Failure() const noexcept { return failure_; }

private:
  UnitFailure failure_;
};

// An error whose text is shown as it stands in the error box
// (ShowErrorMessage: the error beep and the caption "Error"), not as the
// standard box words an exception's message; on standard error it is one
// line like any other.
class ErrorMessage : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Thrown by the plug-in call runner (pattern/PluginCalls.h) when the run
// ended (the window closed) while a plug-in was being asked: the plug-in's
// host process has been ended, and the caller unwinds without showing
// anything.
class PluginRunEnded : public std::exception {
public:
  const char* what() const noexcept override { return "The run ended while a plug-in was being asked"; }
};

// Whether e is an allocation failure: the memory left could not satisfy it
// (std::bad_alloc), the size was beyond what can be allocated at all
// (std::length_error), or a thread could not start for want of memory or
// of the system's resources (std::system_error; a 32-bit process short of
// address space has no room for another stack). None says anything about
// the data being handled.
bool IsAllocationFailure(const std::exception& e) noexcept;

// The unit error numbers (messages in UnitErrorMessage).
enum UnitError : int {
  kErrCutTooLarge = 1,
  kErrCutTooSmall = 2,
  kErrCutSizeMismatch = 3,
  kErrCutWidthOdd = 4,
  kErrSourceTooSmall = 5,
  kErrBadMethod = 6,
  kErrPluginLoad = 7,
  kErrPluginExport = 8,
  kErrPluginWidthLarge = 9,
  kErrPluginHeightLarge = 10,
  kErrPluginXOutside = 11,
  kErrPluginYOutside = 12,
  kErrPluginUnusable = 13,
  kErrPluginSymmetry = 14,
  kErrPluginWidthSmall = 15,
  kErrPluginHeightSmall = 16,
  kErrPluginXNegative = 17,
  kErrPluginYNegative = 18,
};

// The message of an error number in the installed language; empty for a
// number outside 1..18 (and, in Japanese, for 15..18, which have none).
const char* UnitErrorMessage(int errorNo);

// The text ShowUnitError shows: the message and the number as the
// catalog's line puts them ("message:number" in Japanese, "message (error
// number)" in English), and the detail on a new line (CR LF) when there is
// one.
std::string FormatUnitError(int errorNo, const std::string& detail);
// A message as one line, for standard error: each CR LF (or lone LF)
// becomes one space, a lone CR goes.
std::string OneLine(const std::string& text);

// printf-style formatting into a std::string (UTF-8 in, UTF-8 out).
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Detail texts of the plug-in errors.
std::string DetailFile(const std::string& fileName);
std::string DetailFunction(const std::string& exportName);
std::string DetailLimit(int value, int limit);
std::string DetailSymmetry(int type);

// The text of the standard error box for an uncaught error: the message
// with "." appended when its last character sorts after ".", unless it
// already ends in a full stop or a mark that ends a sentence ("。", "．",
// "!", "?" and their full-width forms).
std::string StandardErrorText(const std::string& message);

// How wide a file or folder name may be in a message box: in half-width
// columns, a full-width character taking two. 64 columns are about 450
// pixels in the box's font, so a box with its icon stays within 640 pixels.
inline constexpr size_t kMessageNameColumns = 64;
// `name` as a message shows it: unchanged when it fits in maxColumns,
// otherwise its beginning and its end (the end, where the file's own name
// is, gets the larger share) joined by "…", never splitting a character.
std::string ShortenedName(const std::string& name, size_t maxColumns = kMessageNameColumns);
// A message about a file or folder: its shortened name on the first line,
// then the message unchanged.
std::string NamedMessage(const std::string& name, const std::string& message);
// A message about the file or folder `name` that names it once, shortened:
// where the message already holds the name it is shortened in place,
// otherwise it goes on a line before the message.
std::string NameInMessage(const std::string& name, const std::string& message);

// What a failure that leaves a run shows, whichever front end shows it (a
// box on Windows, one line on standard error on Linux and in the
// renderer), so that one failure reads the same everywhere: a unit error
// (its message and number, then its detail or the shortened name it
// concerns), an ErrorMessage's text, or running out of memory go in the
// error box; any other exception's message, worded by StandardErrorText,
// in the standard box; a silent abort and a run that ended while a plug-in
// was asked show nothing.
struct FailureReport {
  enum class Box { kNone, kError, kStandard };
  Box box = Box::kNone;
  std::string text{};
};
FailureReport ReportOf(std::exception_ptr failure);

// Where errors are shown. The shell installs a message-box display; tests
// install a recorder. With none installed, showing does nothing.
class ErrorDisplay {
public:
  virtual ~ErrorDisplay() = default;
  // Error beep, then a modal error box (caption "Error" in the installed
  // language, one OK button).
  virtual void ShowErrorMessage(const std::string& text) = 0;
};

void SetErrorDisplay(ErrorDisplay* display);
ErrorDisplay* GetErrorDisplay();

void ShowErrorMessage(const std::string& text);
void ShowUnitError(int errorNo, const std::string& detail);
// Shows a unit failure: its detail, or where it has none the shortened
// name of the file or folder it concerns.
void ShowUnitError(const UnitFailure& failure);

}  // namespace tessivane
