#include "base/Errors.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "base/Texts.h"

namespace tessivane {

namespace {

ErrorDisplay* g_display = nullptr;

}  // namespace

bool IsAllocationFailure(const std::exception& e) noexcept {
  if (dynamic_cast<const std::bad_alloc*>(&e) || dynamic_cast<const std::length_error*>(&e)) return true;
  const auto* system = dynamic_cast<const std::system_error*>(&e);
  return system && (system->code() == std::errc::resource_unavailable_try_again ||
                    system->code() == std::errc::not_enough_memory);
}

const char* UnitErrorMessage(int errorNo) {
  constexpr int kLast = kErrPluginYNegative;
  if (errorNo < 1 || errorNo > kLast) return "";
  return Tr(static_cast<TextId>(static_cast<int>(TextId::kUnitError1) + errorNo - 1));
}

std::string FormatUnitError(int errorNo, const std::string& detail) {
  std::string text = Format(Tr(TextId::kUnitErrorLine), UnitErrorMessage(errorNo), errorNo);
  // A number without a message (0 or outside the table) starts the line
  // with the number, not with the space that would follow the message.
  if (!text.empty() && text.front() == ' ') text.erase(0, text.find_first_not_of(' '));
  if (!detail.empty()) {
    text += "\r\n";
    text += detail;
  }
  return text;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.assign(buffer.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

std::string DetailFile(const std::string& fileName) {
  return Format(Tr(TextId::kDetailFile), fileName.c_str());
}
std::string DetailFunction(const std::string& exportName) {
  return Format(Tr(TextId::kDetailFunction), exportName.c_str());
}
std::string DetailLimit(int value, int limit) { return Format(Tr(TextId::kDetailLimit), value, limit); }
std::string DetailSymmetry(int type) { return Format(Tr(TextId::kDetailSymmetry), type); }

namespace {

// Length in bytes of the UTF-8 sequence that begins with `lead` (1 for a
// byte that cannot begin one, so a damaged text still advances).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// The characters of a UTF-8 text, each with its width in columns: one for
// ASCII and the half-width katakana, two for everything else.
struct Character {
  size_t begin;
  size_t length;
  size_t columns;
};

std::vector<Character> SplitCharacters(const std::string& text) {
  std::vector<Character> characters;
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = std::min(SequenceLength(lead), text.size() - at);
    size_t columns = 2;
    if (lead < 0x80) {
      columns = 1;
    } else if (length == 3 && lead == 0xEF) {
      // U+FF61..U+FF9F, half-width katakana and punctuation: EF BD A1..EF BE 9F.
      const auto second = static_cast<unsigned char>(text[at + 1]);
      const auto third = static_cast<unsigned char>(text[at + 2]);
      if ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F)) columns = 1;
    }
    characters.push_back({at, length, columns});
    at += length;
  }
  return characters;
}

constexpr char kEllipsis[] = "…";
constexpr size_t kEllipsisColumns = 2;

}  // namespace

std::string StandardErrorText(const std::string& message) {
  static const char* const kSentenceEnds[] = {"。", "．", "｡", "！", "？", "!", "?"};
  for (const char* end : kSentenceEnds) {
    const std::string mark(end);
    if (message.size() >= mark.size() &&
        message.compare(message.size() - mark.size(), mark.size(), mark) == 0)
      return message;
  }
  // A UTF-8 multi-byte character ends in a byte >= 0x80, which sorts after
  // '.' just as its UTF-16 code unit would.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

std::string ShortenedName(const std::string& name, size_t maxColumns) {
  const std::vector<Character> characters = SplitCharacters(name);
  size_t total = 0;
  for (const Character& c : characters) total += c.columns;
  if (total <= maxColumns) return name;
  const size_t room = maxColumns > kEllipsisColumns ? maxColumns - kEllipsisColumns : 0;
  const size_t headRoom = room / 3;
  const size_t tailRoom = room - headRoom;
  size_t headEnd = 0;  // characters taken from the front
  for (size_t used = 0; headEnd < characters.size() && used + characters[headEnd].columns <= headRoom;
       ++headEnd)
    used += characters[headEnd].columns;
  size_t tailBegin = characters.size();  // first character taken from the back
  for (size_t used = 0; tailBegin > headEnd && used + characters[tailBegin - 1].columns <= tailRoom;
       --tailBegin)
    used += characters[tailBegin - 1].columns;
  const size_t headBytes = headEnd == 0 ? 0 : characters[headEnd - 1].begin + characters[headEnd - 1].length;
  const size_t tailStart = tailBegin == characters.size() ? name.size() : characters[tailBegin].begin;
  return name.substr(0, headBytes) + kEllipsis + name.substr(tailStart);
}

std::string NamedMessage(const std::string& name, const std::string& message) {
  return ShortenedName(name) + "\r\n" + message;
}

std::string NameInMessage(const std::string& name, const std::string& message) {
  if (name.empty() || message.find(name) == std::string::npos) return NamedMessage(name, message);
  std::string text = message;
  const std::string shortened = ShortenedName(name);
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + shortened.size()))
    text.replace(at, name.size(), shortened);
  return text;
}

void SetErrorDisplay(ErrorDisplay* display) { g_display = display; }
ErrorDisplay* GetErrorDisplay() { return g_display; }

void ShowErrorMessage(const std::string& text) {
  if (g_display) g_display->ShowErrorMessage(text);
}

void ShowUnitError(int errorNo, const std::string& detail) {
  ShowErrorMessage(FormatUnitError(errorNo, detail));
}

namespace {

std::string UnitFailureText(const UnitFailure& failure) {
  const bool named = failure.detail.empty() && !failure.name.empty();
  return FormatUnitError(failure.number, named ? ShortenedName(failure.name) : failure.detail);
}

}  // namespace

void ShowUnitError(const UnitFailure& failure) { ShowErrorMessage(UnitFailureText(failure)); }

FailureReport ReportOf(std::exception_ptr failure) {
  using Box = FailureReport::Box;
  try {
    std::rethrow_exception(failure);
  } catch (const UnitFailed& e) {
    return {Box::kError, UnitFailureText(e.Failure())};
  } catch (const SilentAbort&) {
    return {};
  } catch (const PluginRunEnded&) {
    return {};
  } catch (const ErrorMessage& e) {
    return {Box::kError, e.what()};
  } catch (const std::exception& e) {
    if (IsAllocationFailure(e)) return {Box::kError, Tr(TextId::kOutOfMemory)};
    return {Box::kStandard, StandardErrorText(e.what())};
  } catch (...) {
    return {Box::kStandard, Tr(TextId::kUnknownError)};
  }
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return line;
}

}  // namespace tessivane
