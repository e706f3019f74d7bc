// UTF-8 <-> UTF-16 conversion for the platform boundary (the core keeps
// UTF-8 std::string; Win32 W functions take UTF-16). Invalid sequences
// become U+FFFD; nothing throws.
#pragma once
#include <string>

namespace tessivane {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

#if defined(_WIN32)
// On Windows wchar_t is a UTF-16 code unit.
inline std::wstring Widen(const std::string& text) {
  std::u16string u = Utf8ToUtf16(text);
  return std::wstring(u.begin(), u.end());
}
inline std::string Narrow(const std::wstring& text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}
#endif

}  // namespace tessivane
