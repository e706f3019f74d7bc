// Every Japanese text of the settings dialog and the method options dialog
// (UTF-8; the Windows side widens them). The method names come from the
// method table (MethodListLabels), not from here.
#pragma once

namespace tessivane::dialogs::texts {

// ---- Settings dialog: captions --------------------------------------------
inline constexpr char kMethodGroup[] = "変換方法";
inline constexpr char kBasicRadio[] = "基本変換(&F)";
inline constexpr char kDetailsButton[] = "詳細(&Z)...";
inline constexpr char kPluginRadio[] = "外部変換(&E)";
inline constexpr char kPluginBrowseButton[] = "参照(&R)...";
inline constexpr char kShuffleCheck[] = "シャッフルする(&S)";
inline constexpr char kMonoToneCheck[] = "モノトーン";
inline constexpr char kBlurCheck[] = "ぼかす(おすすめ)";
inline constexpr char kBrightnessCheck[] = "明るさ変更";
inline constexpr char kSourceGroup[] = "元になる画像";
inline constexpr char kRandomImageRadio[] = "ランダムイメージを使用(&D)";
inline constexpr char kImageFileRadio[] = "イメージファイルを使用(&I)";
inline constexpr char kImageFileBrowseButton[] = "参照(&B)...";
inline constexpr char kImageFolderRadio[] = "指定フォルダのイメージ(&J)";
inline constexpr char kImageFolderBrowseButton[] = "参照(&H)...";
inline constexpr char kMotionGroup[] = "移動方法";
inline constexpr const char* kMotionItems[] = {"直線", "曲線", "スライドショー"};  // motion kinds 0..2
inline constexpr char kIntervalGroup[] = "画像変更間隔";
inline constexpr char kIntervalUnit[] = "秒";
inline constexpr char kSizeLabel[] = "大きさ(8～64)(&L)";
inline constexpr char kMoveLabel[] = "変化量(1～10)(&M)";
inline constexpr char kWeightLabel[] = "ウエイト(1～99)(&W)";
inline constexpr char kOkButton[] = "了解(&O)";
inline constexpr char kCancelButton[] = "ｷｬﾝｾﾙ(&C)";
inline constexpr char kUpdateButton[] = "更新(&A)";
inline constexpr char kHelpButton[] = "ヘルプ(&H)";
inline constexpr char kMusicButton[] = "BGM(&G)";

// ---- Settings dialog: hints -----------------------------------------------
inline constexpr char kBasicRadioHint[] = "標準の変換方法を使用します。";
inline constexpr char kMethodListHint[] = "見た目に大きく影響します。";
inline constexpr char kDetailsButtonHint[] = "変換方法ごとの設定を行います。";
inline constexpr char kPluginRadioHint[] = "DLLで用意された変換方法を使用します。";
inline constexpr char kPluginEditHint[] = "変換用DLLファイル名を入れてください。";
inline constexpr char kPluginBrowseHint[] = "ﾀﾞｲｱﾛｸﾞからDLLﾌｧｲﾙを選択します。";
inline constexpr char kShuffleHint[] = "元になる画像の各点をランダムに入れ替えます。";
inline constexpr char kMonoToneHint[] = "元になる画像をモノトーンに変換します。";
inline constexpr char kBlurHint[] = "元になる画像をぼかします。";
inline constexpr char kBrightnessHint[] = "元になる画像の明るさを変更します。";
inline constexpr char kRandomImageHint[] = "元の画像にﾗﾝﾀﾞﾑｲﾒｰｼﾞを使用します。";
inline constexpr char kImageFileRadioHint[] = "元の画像にﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙを使用します。";
inline constexpr char kImageFileBrowseHint[] = "ﾀﾞｲｱﾛｸﾞからｲﾒｰｼﾞﾌｧｲﾙを選択します。";
inline constexpr char kImageFileEditHint[] = "元の画像に使用するﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ名を入力して下さい。";
inline constexpr char kImageFolderRadioHint[] = "元の画像に指定ﾌｫﾙﾀﾞにあるﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙを使用します。";
inline constexpr char kImageFolderEditHint[] =
    "元の画像に使用するﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが格納されているﾌｫﾙﾀﾞ名を入力して下さい。";
inline constexpr char kImageFolderBrowseHint[] = "ﾀﾞｲｱﾛｸﾞからﾌｫﾙﾀﾟを選択します。";
inline constexpr char kMotionHint[] = "イメージの変わり方に影響します。";
inline constexpr char kIntervalHint[] = "指定時間毎に画像を読み込みなおします。";
inline constexpr char kSizeHint[] =
    "画像一つあたりの大きさを指定します。\r\n大きくするとそれだけ計算時間がかかり\r\n表示が遅くなります。";
inline constexpr char kMoveHint[] = "画像の変化の度合いです。\r\n数値が大きいほど１回の書き換えあたり\r\n激しく変化します。";
inline constexpr char kWeightHint[] = "画面の書き換えが早過ぎるときにこの数値を\r\n増やして下さい。";
inline constexpr char kOkHint[] = "現在の値をﾚｼﾞｽﾄﾘに書き込んだ後終了します。";
inline constexpr char kCancelHint[] = "現在の値を破棄して終了します。";
inline constexpr char kUpdateHint[] = "現在の値をﾚｼﾞｽﾄﾘに書き込みます";
inline constexpr char kMusicHint[] = "BGMの設定を行います。";

// ---- Settings dialog: about area (our own texts) --------------------------
inline constexpr char kApplicationName[] = "Tessivane";
inline constexpr char kApplicationNameHint[] = "テシヴェイン (Tessivane)";
inline constexpr char kVersionPrefix[] = "version ";
inline constexpr char kCreditLine1[] = "Tessivane";
inline constexpr char kCreditLine2[] = "developers";
inline constexpr char kCreditLine3[] = "2026";

// ---- Settings dialog: messages --------------------------------------------
inline constexpr char kFileNotFound[] = "ファイルが見つかりません";
inline constexpr char kFolderNotFound[] = "イメージファイルフォルダが見つかりません。";
inline constexpr char kNotAnInteger[] = "'%s' は整数ではありません";
inline constexpr char kHelpFolderMissing[] = " が見つかりません";
inline constexpr char kHelpNeedsPage[] =
    "\r\n\r\nヘルプを見るためには実行ファイルのあるフォルダの中に\r\nTessivane.html がなければいけません\r\n";
inline constexpr char kHelpPageMissing[] =
    "Tessivane.html が見つかりません\r\n\r\nヘルプを見るためには実行ファイルのあるフォルダの中に\r\nTessivane.html "
    "がなければいけません\r\n";
inline constexpr char kHelpFileName[] = "Tessivane.html";

// ---- File dialogs and the folder picker -----------------------------------
inline constexpr char kPictureDialogTitle[] = "Tessivaneで使用するファイルの選択";
inline constexpr char kPictureDialogDefaultExtension[] = "bmp";
// Filters as "label|pattern|label|pattern".
inline constexpr char kPictureDialogFilter[] =
    "ｲﾒｰｼﾞﾌｧｲﾙ (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png|ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|Jpegﾌｧｲﾙ(*.jpg;*.jpeg)|*."
    "jpg;*.jpeg|PNGﾌｧｲﾙ(*.png)|*.png";
inline constexpr char kPluginDialogFilter[] = "DLLファイル(*.DLL)|*.DLL";
inline constexpr char kFolderPickerTitle[] = "イメージフォルダの選択";

// ---- Method options dialog ------------------------------------------------
inline constexpr char kDistortedSquarePage[] = "歪四角";
inline constexpr char kRectanglePage[] = "長方形";
inline constexpr char kNoConversionPage[] = "無変換";
inline constexpr char kRandomPage[] = "ランダム";
inline constexpr char kDistortValueLabel[] = "変換値(2～20)";
inline constexpr char kAspectLabel[] = "縦横比";
inline constexpr char kAspectWide[] = "横長";
inline constexpr char kAspectSquare[] = "正方形";
inline constexpr char kAspectTall[] = "縦長";
inline constexpr char kRandomExplanation[] = "ランダムに選ぶときに選ばれうる\r\n変換方法を選んでください";
inline constexpr char kOptionsOkHint[] = "現在の値をﾚｼﾞｽﾄﾘに書き込んだ後終了します";
inline constexpr char kOptionsUpdateHint[] = "現在の値をﾚｼﾞｽﾄﾘに書き込みます。";
inline constexpr char kDistortValueRange[] = "歪四角の変換値は%d～%dの整数を指定して下さい。";
inline constexpr char kNoMethodForRandom[] = "ランダムに選ぶの変換方法は\r\n一つ以上指定する必要があります。";

// ---- Music dialog ---------------------------------------------------------
// Its browse button reads kPluginBrowseButton, its OK and update hints are
// kOptionsOkHint and kOptionsUpdateHint, its cancel hint kCancelHint; its
// caption is in ControlIds.h.
inline constexpr char kMusicOnRadio[] = "BGMあり(&M)";
inline constexpr char kMusicOnHint[] = "実行中に指定したﾌｧｲﾙを再生します。";
inline constexpr char kMusicFileHint[] = "BGMﾌｧｲﾙを指定して下さい。";
inline constexpr char kMusicBrowseHint[] = "ﾀﾞｲｱﾛｸﾞからBGMﾌｧｲﾙを選択します。";
inline constexpr char kMusicOffRadio[] = "BGMなし(&S)";
inline constexpr char kMusicOffHint[] = "無音で実行します。";
// The open dialog's filter: pairs of shown text and pattern.
inline constexpr char kMusicFilterName[] = "音楽ﾌｧｲﾙ(*.mid;*.mp3;*.wma;*.wav)";
inline constexpr char kMusicFilterPattern[] = "*.mid;*.mp3;*.wma;*.wav";
inline constexpr char kAllFilesFilterName[] = "すべてのﾌｧｲﾙ(*.*)";
inline constexpr char kAllFilesFilterPattern[] = "*.*";
inline constexpr char kMusicCannotPlay[] = "[%s]は再生できません。";

}  // namespace tessivane::dialogs::texts
