// Every text the user sees, in one catalog per language (TextsJapanese.cpp,
// TextsEnglish.cpp), chosen once at start from the user's display
// language. Texts are UTF-8; printf placeholders and "&" mnemonics agree
// between the catalogs (the native catalog test checks both).
#pragma once
#include <cstdint>

namespace tessivane {

enum class Language { kJapanese, kEnglish };

// The catalog for a Windows display-language id (a LANGID): Japanese for
// every Japanese sub-language, English for every other language.
Language LanguageOfLangId(uint16_t langId);

// The catalog that Tr uses. The Windows program installs the user's
// language at start; until then (the native tests) it is Japanese.
void SetLanguage(Language language);
Language CurrentLanguage();

enum class TextId : int {
  // ---- Dialog captions
  kSettingsCaption,
  kOptionsCaption,
  kMusicCaption,
  // ---- Settings dialog: controls
  kMethodGroup,
  kBasicRadio,
  kDetailsButton,
  kPluginRadio,
  kPluginBrowseButton,
  kShuffleCheck,
  kMonoToneCheck,
  kBlurCheck,
  kBrightnessCheck,
  kSourceGroup,
  kRandomImageRadio,
  kImageFileRadio,
  kImageFileBrowseButton,
  kImageFolderRadio,
  kImageFolderBrowseButton,
  kMotionGroup,
  kMotionStraight,  // motion kinds 0..2
  kMotionCurve,
  kMotionSlideShow,
  kIntervalGroup,
  kIntervalUnit,
  kSizeLabel,
  kMoveLabel,
  kWeightLabel,
  kOkButton,
  kCancelButton,
  kUpdateButton,
  kHelpButton,
  kMusicButton,
  // ---- Settings dialog: hints
  kBasicRadioHint,
  kMethodListHint,
  kDetailsButtonHint,
  kPluginRadioHint,
  kPluginEditHint,
  kPluginBrowseHint,
  kShuffleHint,
  kMonoToneHint,
  kBlurHint,
  kBrightnessHint,
  kRandomImageHint,
  kImageFileRadioHint,
  kImageFileBrowseHint,
  kImageFileEditHint,
  kImageFolderRadioHint,
  kImageFolderEditHint,
  kImageFolderBrowseHint,
  kMotionHint,
  kIntervalHint,
  kSizeHint,
  kMoveHint,
  kWeightHint,
  kOkHint,
  kCancelHint,
  kUpdateHint,
  kMusicHint,
  // ---- Settings dialog: about area
  kApplicationNameHint,
  kVersionPrefix,
  kCreditLine1,
  kCreditLine2,
  kCreditLine3,
  // ---- Settings dialog: messages
  kFileNotFound,
  kFolderNotFound,     // no such folder or none reached: the dialog and the folder shelf
  kNotAnInteger,       // %s: the text typed
  kHelpFolderMissing,  // %s: the program's folder
  kHelpPageMissing,
  kHelpSection,  // the help page's anchor of this language
  // ---- File dialogs and the folder picker
  kPictureDialogTitle,
  kPictureDialogFilter,  // "label|pattern|label|pattern"
  kPluginDialogFilter,
  kFolderPickerTitle,
  // ---- Method options dialog
  kDistortedSquarePage,
  kRectanglePage,
  kNoConversionPage,
  kRandomPage,
  kDistortValueLabel,
  kAspectLabel,
  kAspectWide,
  kAspectSquare,
  kAspectTall,
  kRandomExplanation,
  kOptionsOkHint,
  kOptionsUpdateHint,
  kDistortValueRange,  // %d, %d: the range
  kNoMethodForRandom,
  // ---- Music dialog
  kMusicOnRadio,
  kMusicOnHint,
  kMusicFileHint,
  kMusicBrowseHint,
  kMusicOffRadio,
  kMusicOffHint,
  kMusicFilterName,
  kAllFilesFilterName,
  kMusicCannotPlay,  // %s: the file
  // ---- Method list labels, in list order
  kMethodKaleidoscope,
  kMethodCarpet,
  kMethodTablecloth,
  kMethodTile,
  kMethodFloral,
  kMethodDistortedSquare,
  kMethodRectangle,
  kMethodSpiral,
  kMethodNoConversion,
  kMethodRandom,
  // ---- Unit errors 1..18, then the plug-in errors' details
  kUnitError1,
  kUnitError2,
  kUnitError3,
  kUnitError4,
  kUnitError5,
  kUnitError6,
  kUnitError7,
  kUnitError8,
  kUnitError9,
  kUnitError10,
  kUnitError11,
  kUnitError12,
  kUnitError13,
  kUnitError14,
  kUnitError15,
  kUnitError16,
  kUnitError17,
  kUnitError18,
  kDetailFile,      // %s: the library
  kDetailFunction,  // %s: the export
  kDetailLimit,     // %d, %d: the value, the limit
  kDetailSymmetry,  // %d: the symmetry type
  kUnitErrorLine,   // %s, %d: a unit error's message and number
  // ---- Error boxes and program-wide messages
  kErrorCaption,
  kOutOfMemory,
  kUnknownError,
  kPasswordChangeUnavailable,
  kWindowCreateFailed,
  kRangeCheckError,   // an empty folder name
  kNoImageFile,       // nothing on the folder's shelf loads
  kFolderUnreadable,  // the folder exists but cannot be listed
  kDataTypeInvalid,   // %s: the registry value's name
  kKeyCreateFailed,   // %s: the subkey
  kSetValueFailed,    // %s: the registry value's name
  // ---- Why a picture file did not load (PictureFailure; out of memory is kOutOfMemory)
  kPictureCannotOpen,   // the file cannot be opened or read
  kPictureNotReadable,  // not a picture in a format that is read
  kPictureDamaged,      // damaged or cut short
  kPictureTooLarge,     // more pixels or bytes than a picture may have
  // ---- Settings dialog: the fade between a folder's pictures
  kFadeGroup,
  kFadeUnit,
  kFadeHint,
  kCount
};

inline constexpr int kTextCount = static_cast<int>(TextId::kCount);

// The text of an entry in the installed language, or in the one given.
const char* Tr(TextId id);
const char* Tr(Language language, TextId id);

// The access key of a caption: the letter after its first single "&"
// ("&&" is a literal ampersand), upper-cased; 0 when it has none or the
// letter is not ASCII.
char MnemonicOf(const char* caption);

// The two catalogs (never null for an id below kCount).
const char* JapaneseText(TextId id);
const char* EnglishText(TextId id);

}  // namespace tessivane
