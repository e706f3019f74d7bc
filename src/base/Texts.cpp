#include "base/Texts.h"

#include <cctype>

namespace tessivane {

namespace {

constexpr uint16_t kLangJapanese = 0x11;  // LANG_JAPANESE, the LANGID's primary language
Language g_language = Language::kJapanese;

}  // namespace

Language LanguageOfLangId(uint16_t langId) {
  return (langId & 0x3FF) == kLangJapanese ? Language::kJapanese : Language::kEnglish;
}

void SetLanguage(Language language) { g_language = language; }
Language CurrentLanguage() { return g_language; }

const char* Tr(TextId id) { return Tr(g_language, id); }

const char* Tr(Language language, TextId id) {
  const char* text = language == Language::kEnglish ? EnglishText(id) : JapaneseText(id);
  return text ? text : "";
}

char MnemonicOf(const char* caption) {
  for (const char* at = caption; at && at[0]; ++at) {
    if (at[0] != '&') continue;
    if (at[1] != '&') {
      const auto letter = static_cast<unsigned char>(at[1]);
      if (letter == 0 || letter >= 0x80) return 0;
      return static_cast<char>(std::toupper(letter));
    }
    ++at;
  }
  return 0;
}

}  // namespace tessivane
