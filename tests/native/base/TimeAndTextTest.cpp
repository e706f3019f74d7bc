#include "base/DateTime.h"
#include "base/Utf.h"

#include <gtest/gtest.h>

namespace tessivane {
namespace {

TEST(DateTime, MomentsLessThanAMillisecondApartAreEqual) {
  DateTime t = 45000.5;
  EXPECT_EQ(CompareDateTime(t, AddSeconds(t, 0.0009)), 0);
  EXPECT_EQ(CompareDateTime(t, AddSeconds(t, 0.0011)), -1);
  EXPECT_EQ(CompareDateTime(AddSeconds(t, 2), t), 1);
}

TEST(DateTime, AddSecondsCountsWholeDays) {
  EXPECT_DOUBLE_EQ(AddSeconds(1.0, 86400), 2.0);
  EXPECT_DOUBLE_EQ(AddSeconds(1.0, 43200), 1.5);
  DateTime now = Now();
  EXPECT_GT(now, 40000.0);  // after the year 2009
}

TEST(Utf, RoundTripsJapaneseAndAstralCharacters) {
  std::string text = "画像フォルダ/🎨.png";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide[0], u'画');
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, BrokenSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE3\x81"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tessivane
