// Control identifiers, captions and window classes of the settings dialog
// and the method options dialog. Test programs that drive the dialogs from
// another process find the controls by these numbers, so the values stay
// fixed once published. No Windows header is needed to include this file.
#pragma once
#include <string>

#include "base/Texts.h"
#include "base/Utf.h"

namespace tessivane::dialogs {

// Both dialogs are ordinary dialog-manager windows.
inline constexpr const wchar_t* kDialogClassName = L"#32770";

#if defined(_WIN32)
// The dialogs' captions in the installed language.
inline std::wstring SettingsCaption() { return Widen(Tr(TextId::kSettingsCaption)); }
inline std::wstring OptionsCaption() { return Widen(Tr(TextId::kOptionsCaption)); }
inline std::wstring MusicCaption() { return Widen(Tr(TextId::kMusicCaption)); }
#endif

// Buttons shared by both dialogs: the dialog manager presses IDOK on Enter
// and IDCANCEL on Esc.
inline constexpr int kIdOkButton = 1;      // bbnOK "了解(&O)" (IDOK)
inline constexpr int kIdCancelButton = 2;  // bbnCancel "ｷｬﾝｾﾙ(&C)" (IDCANCEL)

// ---- Settings dialog ------------------------------------------------------

// Conversion method box.
inline constexpr int kIdMethodGroup = 1001;         // GroupBox1 "変換方法"
inline constexpr int kIdBasicRadio = 1002;          // rdbBasic
inline constexpr int kIdMethodList = 1003;          // cmbType (combo box, drop-down list)
inline constexpr int kIdDetailsButton = 1004;       // bbnSettings "詳細(&Z)..."
inline constexpr int kIdPluginRadio = 1005;         // rdbDll
inline constexpr int kIdPluginEdit = 1006;          // edtDll
inline constexpr int kIdPluginBrowseButton = 1007;  // bbnDll "参照(&R)..."
inline constexpr int kIdShuffleCheck = 1008;        // chkShuffle
inline constexpr int kIdMonoToneCheck = 1009;       // chkMonoTone
inline constexpr int kIdBlurCheck = 1010;           // chkShadeOff
inline constexpr int kIdBrightnessCheck = 1011;     // ckbBrightnessChange

// Source picture box.
inline constexpr int kIdSourceGroup = 1020;              // grbImage "元になる画像"
inline constexpr int kIdRandomImageRadio = 1021;         // rdbDesktop
inline constexpr int kIdImageFileRadio = 1022;           // rdbBitmap
inline constexpr int kIdImageFileBrowseButton = 1023;    // bbnBrows "参照(&B)..."
inline constexpr int kIdImageFileEdit = 1024;            // edtBmpFile
inline constexpr int kIdImageFolderRadio = 1025;         // rdbImageFolder
inline constexpr int kIdImageFolderEdit = 1026;          // edtImageFolder
inline constexpr int kIdImageFolderBrowseButton = 1027;  // bbnImageFolder "参照(&H)..."

// Motion and reload interval.
inline constexpr int kIdMotionGroup = 1040;        // grbMove "移動方法"
inline constexpr int kIdMotionList = 1041;         // cmbMove (combo box, drop-down list)
inline constexpr int kIdIntervalGroup = 1042;      // grbImageChange "画像変更間隔"
inline constexpr int kIdIntervalEdit = 1043;       // edtImageChangeTime
inline constexpr int kIdIntervalUnitLabel = 1044;  // the label "秒" after it
inline constexpr int kIdFadeGroup = 1045;          // the fade's group box, right of the interval's
inline constexpr int kIdFadeEdit = 1046;           // the fade time, in tenths of a second
inline constexpr int kIdFadeUnitLabel = 1047;      // the label "×0.1秒" after it

// Value rows: label, two-character edit box, horizontal scroll bar control.
// A scroll bar (here and in the options dialog) reports a new position to
// its dialog with WM_HSCROLL: SB_THUMBPOSITION carries the position in the
// high word; SB_ENDSCROLL makes the dialog read the bar's current position
// (after SBM_SETPOS). OK and update read the bars' positions themselves.
inline constexpr int kIdSizeLabel = 1050;     // lblSize
inline constexpr int kIdSizeEdit = 1051;      // edtSize
inline constexpr int kIdSizeScroll = 1052;    // srbSize (8..64)
inline constexpr int kIdMoveLabel = 1053;     // lblMove
inline constexpr int kIdMoveEdit = 1054;      // edtMove
inline constexpr int kIdMoveScroll = 1055;    // srbMove (1..10)
inline constexpr int kIdWeightLabel = 1056;   // lblWeight
inline constexpr int kIdWeightEdit = 1057;    // edtWeight
inline constexpr int kIdWeightScroll = 1058;  // srbWeight (1..99)

// Button column.
inline constexpr int kIdUpdateButton = 1070;  // bbnUpdate "更新(&A)"
inline constexpr int kIdHelpButton = 1071;    // BitBtn1 "ヘルプ(&H)"
inline constexpr int kIdMusicButton = 1072;   // bbmBGM "BGM(&G)"

// Frames and the about area.
inline constexpr int kIdLeftFrame = 1080;     // bevel around the left area
inline constexpr int kIdButtonFrame = 1081;   // bevel around the button column
inline constexpr int kIdMusicPanel = 1082;    // lowered panel around the music button
inline constexpr int kIdAboutFrame = 1083;    // frame of the about area
inline constexpr int kIdAppIcon = 1084;       // program icon
inline constexpr int kIdAppNameLabel = 1085;  // lblApplicationName "Tessivane"
inline constexpr int kIdVersionLabel = 1086;  // "version 1.9.0"
inline constexpr int kIdCreditLabel1 = 1087;  // author credit, three lines
inline constexpr int kIdCreditLabel2 = 1088;
inline constexpr int kIdCreditLabel3 = 1089;
inline constexpr int kIdCreditIcon = 1090;  // second icon of the credit

// ---- Method options dialog ------------------------------------------------

// OK and cancel are kIdOkButton and kIdCancelButton.
inline constexpr int kIdOptionsUpdateButton = 1100;  // bbnUpdate "更新(&A)"
inline constexpr int kIdOptionsTabs = 1101;          // pgcOption (SysTabControl32)

// Tab positions of the four pages.
inline constexpr int kPageDistortedSquare = 0;  // tsWrapSquare "歪四角"
inline constexpr int kPageRectangle = 1;        // tsShikaku "長方形"
inline constexpr int kPageNoConversion = 2;     // tsNone "無変換"
inline constexpr int kPageRandom = 3;           // tsRandom "ランダム"

// Distorted-square page.
inline constexpr int kIdDistortValueLabel = 1110;  // "変換値(2～20)"
inline constexpr int kIdDistortValueEdit = 1111;   // edtVal

// Rectangle page.
inline constexpr int kIdRectangleAspectLabel = 1120;   // "縦横比"
inline constexpr int kIdRectangleAspectScroll = 1121;  // srbXY (-5..5)
inline constexpr int kIdRectangleWideLabel = 1122;     // "横長"
inline constexpr int kIdRectangleSquareLabel = 1123;   // "正方形"
inline constexpr int kIdRectangleTallLabel = 1124;     // "縦長"

// No-conversion page.
inline constexpr int kIdNoConversionAspectLabel = 1130;   // "縦横比"
inline constexpr int kIdNoConversionAspectScroll = 1131;  // srbNoneXY (-5..5)
inline constexpr int kIdNoConversionWideLabel = 1132;     // "横長"
inline constexpr int kIdNoConversionSquareLabel = 1133;   // "正方形"
inline constexpr int kIdNoConversionTallLabel = 1134;     // "縦長"

// Random page.
inline constexpr int kIdRandomLabel = 1140;      // the two-line explanation
inline constexpr int kIdRandomSeparator = 1141;  // the separating line
// clbRandom: a SysListView32 with LVS_EX_CHECKBOXES; item i is method list
// position i (the method list without the random choice), its check state is the mark
// (LVM_GETITEMSTATE / LVM_SETITEMSTATE with LVIS_STATEIMAGEMASK).
inline constexpr int kIdRandomList = 1142;

// ---- Music dialog ---------------------------------------------------------

inline constexpr int kIdMusicFrame = 1300;         // Panel1, lowered bevel
inline constexpr int kIdMusicOnRadio = 1301;       // rdbBGM "BGMあり(&M)"
inline constexpr int kIdMusicFileEdit = 1302;      // edtBGM
inline constexpr int kIdMusicBrowseButton = 1303;  // bbnBGM "参照(&R)..."
inline constexpr int kIdMusicOffRadio = 1304;      // rdbSilent "BGMなし(&S)"
inline constexpr int kIdMusicUpdateButton = 1305;  // bbnReg "更新(&A)"
// OK and cancel: kIdOkButton and kIdCancelButton.

}  // namespace tessivane::dialogs
