// The two catalogs of user texts and the rule that picks one.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "base/Texts.h"

namespace tessivane {
namespace {

// The printf conversions of a text, in order ("%s%d"); "%%" counts too.
std::string Placeholders(const std::string& text) {
  std::string found;
  for (size_t at = text.find('%'); at != std::string::npos && at + 1 < text.size();
       at = text.find('%', at + 2))
    found += text.substr(at, 2);
  return found;
}

// The letters marked with a single "&" ("&&" is a literal ampersand).
std::string Mnemonics(const std::string& text) {
  std::string letters;
  for (size_t at = 0; at + 1 < text.size(); ++at) {
    if (text[at] != '&') continue;
    if (text[at + 1] != '&')
      letters += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])));
    ++at;
  }
  return letters;
}

TEST(Texts, BothCatalogsHoldEveryEntryWithTheSamePlaceholdersAndMnemonics) {
  for (int i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    const char* japanese = JapaneseText(id);
    const char* english = EnglishText(id);
    ASSERT_NE(japanese, nullptr) << "entry " << i;
    ASSERT_NE(english, nullptr) << "entry " << i;
    EXPECT_NE(std::string(english), "") << "entry " << i;
    // Only errors 15 to 18 have no Japanese message.
    const bool mayBeEmpty = id >= TextId::kUnitError15 && id <= TextId::kUnitError18;
    if (!mayBeEmpty) {
      EXPECT_NE(std::string(japanese), "") << "entry " << i;
    }
    EXPECT_EQ(Placeholders(japanese), Placeholders(english)) << "entry " << i << ": " << english;
    EXPECT_EQ(Mnemonics(japanese).size(), Mnemonics(english).size()) << "entry " << i << ": " << english;
  }
}

TEST(Texts, NoTwoControlsOfADialogShareAMnemonicInEnglish) {
  using enum TextId;
  const std::map<std::string, std::vector<TextId>> dialogs{
      {"settings",
       {kBasicRadio,
        kDetailsButton,
        kPluginRadio,
        kPluginBrowseButton,
        kShuffleCheck,
        kMonoToneCheck,
        kBlurCheck,
        kBrightnessCheck,
        kRandomImageRadio,
        kImageFileRadio,
        kImageFileBrowseButton,
        kImageFolderRadio,
        kImageFolderBrowseButton,
        kSizeLabel,
        kMoveLabel,
        kWeightLabel,
        kOkButton,
        kCancelButton,
        kUpdateButton,
        kHelpButton,
        kMusicButton}},
      {"options", {kDistortValueLabel, kAspectLabel, kOkButton, kCancelButton, kUpdateButton}},
      {"music",
       {kMusicOnRadio, kPluginBrowseButton, kMusicOffRadio, kOkButton, kCancelButton, kUpdateButton}},
  };
  for (const auto& [dialog, entries] : dialogs) {
    std::map<char, int> owners;
    for (TextId id : entries)
      for (char letter : Mnemonics(EnglishText(id)))
        EXPECT_TRUE(owners.emplace(letter, static_cast<int>(id)).second)
            << dialog << ": '" << letter << "' of " << EnglishText(id) << " is taken by entry "
            << owners[letter];
  }
}

TEST(Texts, JapaneseDisplayLanguagesGetTheJapaneseCatalogEveryOtherTheEnglishOne) {
  const struct {
    uint16_t langId;
    Language language;
  } cases[] = {
      {0x0411, Language::kJapanese},  // Japanese (Japan)
      {0x0011, Language::kJapanese},  // Japanese, neutral
      {0x0409, Language::kEnglish},   // English (United States)
      {0x0809, Language::kEnglish},   // English (United Kingdom)
      {0x0407, Language::kEnglish},   // German
      {0x0804, Language::kEnglish},   // Chinese (simplified)
      {0x0412, Language::kEnglish},   // Korean
      {0x0000, Language::kEnglish},   // neutral: no language known
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageOfLangId(c.langId), c.language) << std::hex << c.langId;
}

TEST(Texts, TrFollowsTheInstalledLanguage) {
  EXPECT_STREQ(Tr(TextId::kSettingsCaption), "Tessivaneの設定");
  SetLanguage(Language::kEnglish);
  EXPECT_STREQ(Tr(TextId::kSettingsCaption), EnglishText(TextId::kSettingsCaption));
  SetLanguage(Language::kJapanese);
}

}  // namespace
}  // namespace tessivane
