// The messages of the image shelf and the folder listing (UTF-8).
#pragma once

namespace tessivane {

inline constexpr char kRangeCheckErrorText[] = "範囲チェックエラー";          // empty folder name
inline constexpr char kNoImageFileText[] = "イメージファイルが存在しません。";  // nothing on the shelf loads
inline constexpr char kFolderUnreadableText[] = "フォルダの内容を読み取れません。";  // the folder exists but cannot be listed

}  // namespace tessivane
