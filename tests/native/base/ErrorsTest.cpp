#include "base/Errors.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(StandardErrorText("イメージファイルが存在しません。"), "イメージファイルが存在しません。.");
  EXPECT_EQ(StandardErrorText(""), "");
}

}  // namespace
}  // namespace tessivane
