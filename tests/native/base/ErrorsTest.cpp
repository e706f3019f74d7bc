#include "base/Errors.h"

#include <gtest/gtest.h>

#include "base/Texts.h"
#include "base/Utf.h"

#include "support/ErrorRecorder.h"

namespace tessivane {
namespace {

using testing::ErrorRecorder;

TEST(UnitErrors, TextIsMessageColonNumberAndDetailLine) {
  EXPECT_EQ(FormatUnitError(3, ""), "切り出した画像サイズが指定された値と異なります。:3");
  EXPECT_EQ(FormatUnitError(1, ""), "切り出した画像が大きすぎます。:1");
  EXPECT_EQ(FormatUnitError(9, DetailLimit(300, 256)),
            "変換後のX方向のサイズが大きすぎます。:9\r\n設定値[300] 制限値[256]");
  EXPECT_EQ(FormatUnitError(5, ""), "元の画像が小さすぎます。\r\n(もっと大きな画像を設定してください):5");
}

TEST(UnitErrors, NumbersWithoutMessageStartWithTheColon) {
  for (int n : {0, 15, 16, 17, 18, 19, -1, 1000}) EXPECT_STREQ(UnitErrorMessage(n), "") << n;
  EXPECT_EQ(FormatUnitError(15, DetailLimit(20, 32)), ":15\r\n設定値[20] 制限値[32]");
  EXPECT_EQ(FormatUnitError(0, ""), ":0");
}

TEST(UnitErrors, InEnglishTheSentenceIsFollowedByTheNumberInBrackets) {
  SetLanguage(Language::kEnglish);
  EXPECT_EQ(FormatUnitError(11, ""), "A source x coordinate lies outside the cut piece. (error 11)");
  EXPECT_EQ(FormatUnitError(9, DetailLimit(300, 256)),
            "The plug-in's tile width is too large. (error 9)\r\nValue [300] Limit [256]");
  EXPECT_EQ(FormatUnitError(0, ""), "(error 0)");
  SetLanguage(Language::kJapanese);
}

TEST(UnitErrors, DetailTexts) {
  EXPECT_EQ(DetailFile("a.dll"), "ファイル[a.dll]");
  EXPECT_EQ(DetailFunction("TessivaneDLL"), "関数名[TessivaneDLL]");
  EXPECT_EQ(DetailSymmetry(7), "変換タイプ[7]");
}

TEST(UnitErrors, ShowUnitErrorGoesThroughTheDisplay) {
  ErrorRecorder recorder;
  SetErrorDisplay(&recorder);
  ShowUnitError(13, "このDLLは使えません。");
  SetErrorDisplay(nullptr);
  ShowUnitError(1, "");  // no display: nothing happens
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "このDLLは使えません。:13\r\nこのDLLは使えません。");
}

TEST(StandardError, AppendsAPeriodOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(StandardErrorText("File not found"), "File not found.");
  EXPECT_EQ(StandardErrorText("Done."), "Done.");
  EXPECT_EQ(StandardErrorText("Really!"), "Really!");  // '!' sorts before '.'
  EXPECT_EQ(StandardErrorText(""), "");
  EXPECT_EQ(StandardErrorText("PNG: Invalid IHDR data"), "PNG: Invalid IHDR data.");
  EXPECT_EQ(StandardErrorText("範囲チェックエラー"), "範囲チェックエラー.");
}

// A box once ended in "。.": a Japanese or full-width sentence end is a
// full stop too.
TEST(StandardError, NoPeriodAfterAJapaneseOrFullWidthSentenceEnd) {
  for (const char* text :
       {"イメージファイルが存在しません。", "終わり．", "終わり｡", "本当！", "本当？", "really?"})
    EXPECT_EQ(StandardErrorText(text), text);
  // A named message ends with the message, not the name.
  EXPECT_EQ(StandardErrorText(NamedMessage("C:\\pics\\a.png", "メモリが不足しています。")),
            "C:\\pics\\a.png\r\nメモリが不足しています。");
}

// Columns of a text as ShortenedName counts them.
size_t Columns(const std::string& text) {
  size_t columns = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80)
      ++columns;
    else if (byte >= 0xC0)
      columns += 2;  // no half-width katakana in these tests
  }
  return columns;
}

TEST(ShortenedName, LongNamesKeepTheirBeginningAndTheirFileNameAroundAnEllipsis) {
  EXPECT_EQ(ShortenedName("C:\\pics\\a.png"), "C:\\pics\\a.png");
  const std::string exact(kMessageNameColumns, 'x');
  EXPECT_EQ(ShortenedName(exact), exact);

  // A 1,600-character path fits, with its drive and its file name.
  std::string path = "C:\\";
  while (path.size() < 1590) path += "folder\\";
  path += "photo.jpg";
  path.resize(1600 - 9);
  path += "photo.jpg";
  const std::string shown = ShortenedName(path);
  EXPECT_LE(Columns(shown), kMessageNameColumns);
  EXPECT_GE(Columns(shown), kMessageNameColumns - 1);
  EXPECT_EQ(shown.rfind("C:\\", 0), 0u);
  EXPECT_EQ(shown.substr(shown.size() - 9), "photo.jpg");
  EXPECT_NE(shown.find("…"), std::string::npos);

  // Wide characters count two columns and are never cut in half.
  std::string japanese = "D:\\";
  for (int i = 0; i < 100; ++i) japanese += "写真";
  japanese += "\\夏.png";
  const std::string shortJapanese = ShortenedName(japanese);
  EXPECT_LE(Columns(shortJapanese), kMessageNameColumns);
  EXPECT_EQ(Utf8ToUtf16(shortJapanese).find(u'\uFFFD'), std::u16string::npos) << "a character was split";
  EXPECT_EQ(shortJapanese.substr(shortJapanese.size() - std::string("\\夏.png").size()), "\\夏.png");
}

}  // namespace
}  // namespace tessivane
