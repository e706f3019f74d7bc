#include "base/Texts.h"

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

}  // namespace tessivane
