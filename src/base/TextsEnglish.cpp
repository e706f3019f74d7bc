// The English catalog, for every Windows whose display language is not
// Japanese (UTF-8). Each dialog gives every mnemonic letter to one control
// only; captions are short enough for the controls' places at the system's
// message font: the browse buttons go without the usual "...", which their
// place beside a glyph has no room for.
#include "base/Texts.h"

namespace tessivane {

const char* EnglishText(TextId id) {
  switch (id) {
    case TextId::kSettingsCaption:
      return "Tessivane Settings";
    case TextId::kOptionsCaption:
      return "Conversion Method Options";
    case TextId::kMusicCaption:
      return "Background Music";
    // Settings dialog. Mnemonics: B D P R S N F W L E Z G Y O C A H M.
    case TextId::kMethodGroup:
      return "Conversion method";
    case TextId::kBasicRadio:
      return "&Built-in method";
    case TextId::kDetailsButton:
      return "&Details...";
    case TextId::kPluginRadio:
      return "&Plug-in DLL";
    case TextId::kPluginBrowseButton:
      return "B&rowse";
    case TextId::kShuffleCheck:
      return "&Shuffle pixels";
    case TextId::kMonoToneCheck:
      return "Monotone";
    case TextId::kBlurCheck:
      return "Blur (recommended)";
    case TextId::kBrightnessCheck:
      return "Vary brightness";
    case TextId::kSourceGroup:
      return "Source picture";
    case TextId::kRandomImageRadio:
      return "Ra&ndom picture";
    case TextId::kImageFileRadio:
      return "Picture &file";
    case TextId::kImageFileBrowseButton:
      return "Bro&wse";
    case TextId::kImageFolderRadio:
      return "Pictures in a fo&lder";
    case TextId::kImageFolderBrowseButton:
      return "Brows&e";
    case TextId::kMotionGroup:
      return "Motion";
    case TextId::kMotionStraight:
      return "Straight line";
    case TextId::kMotionCurve:
      return "Curve";
    case TextId::kMotionSlideShow:
      return "Slide show";
    case TextId::kIntervalGroup:
      return "Change every";
    case TextId::kIntervalUnit:
      return "s";
    case TextId::kSizeLabel:
      return "Si&ze (8–64)";
    case TextId::kMoveLabel:
      return "Chan&ge (1–10)";
    case TextId::kWeightLabel:
      return "Dela&y (1–99)";
    case TextId::kOkButton:
      return "&OK";
    case TextId::kCancelButton:
      return "&Cancel";
    case TextId::kUpdateButton:
      return "&Apply";
    case TextId::kHelpButton:
      return "&Help";
    case TextId::kMusicButton:
      return "&Music...";
    case TextId::kBasicRadioHint:
      return "Uses one of the built-in conversion methods.";
    case TextId::kMethodListHint:
      return "The conversion method changes the look of the pattern most.";
    case TextId::kDetailsButtonHint:
      return "Sets the options of single conversion methods.";
    case TextId::kPluginRadioHint:
      return "Uses the conversion method of a plug-in DLL.";
    case TextId::kPluginEditHint:
      return "Type the path of the plug-in DLL.";
    case TextId::kPluginBrowseHint:
      return "Chooses the plug-in DLL in a file dialog.";
    case TextId::kShuffleHint:
      return "Exchanges the pixels of the cut piece at random.";
    case TextId::kMonoToneHint:
      return "Turns the source picture grey.";
    case TextId::kBlurHint:
      return "Blurs the source picture, which gives smoother patterns.";
    case TextId::kBrightnessHint:
      return "Lets the brightness of the pattern rise and fall.";
    case TextId::kRandomImageHint:
      return "Uses a random picture that Tessivane paints itself.";
    case TextId::kImageFileRadioHint:
      return "Uses one picture file (BMP, JPEG or PNG).";
    case TextId::kImageFileBrowseHint:
      return "Chooses the picture file in a file dialog.";
    case TextId::kImageFileEditHint:
      return "Type the path of the picture file.";
    case TextId::kImageFolderRadioHint:
      return "Uses the pictures of a folder, a new one at the set interval.";
    case TextId::kImageFolderEditHint:
      return "Type the path of the folder that holds the pictures.";
    case TextId::kImageFolderBrowseHint:
      return "Chooses the folder in a folder dialog.";
    case TextId::kMotionHint:
      return "How the cut piece travels over the picture: changes the way the pattern changes.";
    case TextId::kIntervalHint:
      return "Takes a new picture from the folder after this many seconds.";
    case TextId::kSizeHint:
      return "The size of the cut piece: four times this\r\n"
             "many pixels a side. Larger sizes take longer\r\n"
             "to compute and draw more slowly.";
    case TextId::kMoveHint:
      return "How much the pattern changes.\r\nThe larger the number, the more it changes\r\nat each frame.";
    case TextId::kWeightHint:
      return "The delay between frames: raise it when\r\nthe screen changes too fast.";
    case TextId::kOkHint:
      return "Saves the settings in the registry and closes the dialog.";
    case TextId::kCancelHint:
      return "Closes the dialog without saving the changes.";
    case TextId::kUpdateHint:
      return "Saves the settings in the registry; the dialog stays open.";
    case TextId::kMusicHint:
      return "Chooses the music that plays while the saver runs.";
    case TextId::kApplicationNameHint:
      return "Tessivane";
    case TextId::kVersionPrefix:
      return "version ";
    case TextId::kCreditLine1:
      return "Tessivane";
    case TextId::kCreditLine2:
      return "developers";
    case TextId::kCreditLine3:
      return "2026";
    case TextId::kFileNotFound:
      return "The picture file was not found. Check its path or choose it with Browse.";
    case TextId::kFolderNotFound:
      return "The picture folder was not found or cannot be reached.";
    case TextId::kNotAnInteger:
      return "'%s' is not a whole number";
    case TextId::kHelpFolderMissing:
      return "%s was not found.\r\n\r\nThe help page Tessivane.html must lie in the folder\r\nof the "
             "program.";
    case TextId::kHelpPageMissing:
      return "Tessivane.html was not found.\r\n\r\nThe help page Tessivane.html must lie in the folder\r\nof "
             "the "
             "program.";
    case TextId::kHelpSection:
      return "en";
    case TextId::kPictureDialogTitle:
      return "Choose a Picture for Tessivane";
    case TextId::kPictureDialogFilter:
      return "Pictures (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png|Bitmaps (*.bmp)|*.bmp|JPEG files "
             "(*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG files (*.png)|*.png";
    case TextId::kPluginDialogFilter:
      return "Plug-in DLLs (*.DLL)|*.DLL";
    case TextId::kFolderPickerTitle:
      return "Choose the picture folder";
    // Method options dialog (no mnemonics).
    case TextId::kDistortedSquarePage:
      return "Distorted square";
    case TextId::kRectanglePage:
      return "Rectangle";
    case TextId::kNoConversionPage:
      return "Unchanged";
    case TextId::kRandomPage:
      return "Random";
    case TextId::kDistortValueLabel:
      return "Distortion (2–20)";
    case TextId::kAspectLabel:
      return "Aspect ratio";
    case TextId::kAspectWide:
      return "Wide";
    case TextId::kAspectSquare:
      return "Square";
    case TextId::kAspectTall:
      return "Tall";
    case TextId::kRandomExplanation:
      return "Choose the methods that the random\r\nchoice may pick";
    case TextId::kOptionsOkHint:
      return "Saves the settings in the registry and closes the dialog.";
    case TextId::kOptionsUpdateHint:
      return "Saves the settings in the registry; the dialog stays open.";
    case TextId::kDistortValueRange:
      return "The distortion of the distorted square must be a whole number from %d to %d.";
    case TextId::kNoMethodForRandom:
      return "Choose at least one method\r\nthat the random choice may pick.";
    // Music dialog. Mnemonics: M R S O C A.
    case TextId::kMusicOnRadio:
      return "Play &music";
    case TextId::kMusicOnHint:
      return "Plays the chosen file while the saver runs.";
    case TextId::kMusicFileHint:
      return "Type the path of the music file.";
    case TextId::kMusicBrowseHint:
      return "Chooses the music file in a file dialog.";
    case TextId::kMusicOffRadio:
      return "&Silent";
    case TextId::kMusicOffHint:
      return "Runs without sound.";
    case TextId::kMusicFilterName:
      return "Music files (*.mid;*.mp3;*.wma;*.wav)";
    case TextId::kAllFilesFilterName:
      return "All files (*.*)";
    case TextId::kMusicCannotPlay:
      return "[%s] cannot be played.";
    // The methods, named after the pattern each makes.
    case TextId::kMethodKaleidoscope:
      return "Kaleidoscope";
    case TextId::kMethodCarpet:
      return "Carpet";
    case TextId::kMethodTablecloth:
      return "Tablecloth";
    case TextId::kMethodTile:
      return "Tiles";
    case TextId::kMethodFloral:
      return "Floral";
    case TextId::kMethodDistortedSquare:
      return "Distorted square";
    case TextId::kMethodRectangle:
      return "Rectangle";
    case TextId::kMethodSpiral:
      return "Spiral";
    case TextId::kMethodNoConversion:
      return "Unchanged";
    case TextId::kMethodRandom:
      return "Random choice";
    case TextId::kUnitError1:
      return "The cut piece is too large.";
    case TextId::kUnitError2:
      return "The cut piece is too small.";
    case TextId::kUnitError3:
      return "The cut piece does not have the size that was set.";
    case TextId::kUnitError4:
      return "The cut piece has an odd size (odd sizes are not allowed).";
    case TextId::kUnitError5:
      return "The source picture is too small.\r\n(Choose a larger picture.)";
    case TextId::kUnitError6:
      return "The conversion method is not valid.";
    case TextId::kUnitError7:
      return "The plug-in could not be loaded.";
    case TextId::kUnitError8:
      return "A function is missing from the plug-in.";
    case TextId::kUnitError9:
      return "The plug-in's tile width is too large.";
    case TextId::kUnitError10:
      return "The plug-in's tile height is too large.";
    case TextId::kUnitError11:
      return "A source x coordinate lies outside the cut piece.";
    case TextId::kUnitError12:
      return "A source y coordinate lies outside the cut piece.";
    case TextId::kUnitError13:
      return "This plug-in cannot be used.";
    case TextId::kUnitError14:
      return "The symmetry type is not valid.";
    case TextId::kUnitError15:
      return "The plug-in's tile width is too small.";
    case TextId::kUnitError16:
      return "The plug-in's tile height is too small.";
    case TextId::kUnitError17:
      return "A source x coordinate is negative.";
    case TextId::kUnitError18:
      return "A source y coordinate is negative.";
    case TextId::kDetailFile:
      return "File [%s]";
    case TextId::kDetailFunction:
      return "Function [%s]";
    case TextId::kDetailLimit:
      return "Value [%d] Limit [%d]";
    case TextId::kDetailSymmetry:
      return "Symmetry type [%d]";
    case TextId::kUnitErrorLine:
      return "%s (error %d)";
    case TextId::kErrorCaption:
      return "Error";
    case TextId::kOutOfMemory:
      return "There is not enough memory.";
    case TextId::kUnknownError:
      return "An unknown error occurred.";
    case TextId::kPasswordChangeUnavailable:
      return "The screen saver password cannot be changed on this version of Windows.";
    case TextId::kWindowCreateFailed:
      return "Tessivane could not open its window.";
    case TextId::kRangeCheckError:
      return "No folder was given.";
    case TextId::kNoImageFile:
      return "The folder holds no picture that can be read.";
    case TextId::kFolderUnreadable:
      return "The contents of the folder cannot be read.";
    case TextId::kDataTypeInvalid:
      return "The setting '%s' has a type that cannot be read";
    case TextId::kKeyCreateFailed:
      return "The registry key %s could not be created";
    case TextId::kSetValueFailed:
      return "The setting '%s' could not be saved";
    case TextId::kPictureCannotOpen:
      return "The file cannot be opened or read.";
    case TextId::kPictureNotReadable:
      return "The file is not a picture in a format that can be read.";
    case TextId::kPictureDamaged:
      return "The picture file is damaged or cut short.";
    case TextId::kPictureTooLarge:
      return "The picture is too large to be loaded.";
    case TextId::kFadeGroup:
      return "Fade";
    case TextId::kFadeUnit:
      return "× 0.1 s";
    case TextId::kFadeHint:
      return "At a change of picture, the pattern fades from the old picture to\r\nthe new one over this "
             "time, in tenths of a second; 0 changes at once.";
    case TextId::kCount:
      break;
  }
  return nullptr;
}

}  // namespace tessivane
