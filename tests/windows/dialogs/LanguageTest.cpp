// The dialogs in the user's display language: run once under a Japanese
// and once under an English locale (wine.dialogs and wine-en.dialogs), each
// in a prefix of its own. The test program picks its catalog by the same
// rule as the saver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogSession.h"

#include "base/Errors.h"
#include "base/ScopedWin.h"
#include "base/Texts.h"
#include "base/Utf.h"
#include "dialogs/DialogLayout.h"

namespace tessivane::test {
namespace {

using namespace tessivane::dialogs;

bool HoldsJapanese(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x3000) return true;  // kana, CJK, full- and half-width forms
  return false;
}

// Every window below root with its class and text, tab pages' controls included.
std::vector<HWND> Children(HWND root) {
  std::vector<HWND> found;
  EnumChildWindows(
      root,
      [](HWND wnd, LPARAM list) -> BOOL CALLBACK {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

class Language : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    SetLanguage(LanguageOfLangId(GetUserDefaultUILanguage()));
  }
  void TearDown() override {
    DialogTest::TearDown();
    SetLanguage(tessivane::Language::kJapanese);
    SetDpi(96);
  }
  static bool English() { return CurrentLanguage() == tessivane::Language::kEnglish; }
  static void SetDpi(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
  // The dialog's caption is its catalog's, and in English no control shows
  // a Japanese character.
  void ExpectCatalogTexts(HWND dialog, TextId caption) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), Widen(Tr(caption)));
    if (!English()) return;
    for (HWND control : Children(dialog)) EXPECT_FALSE(HoldsJapanese(Text(control))) << Narrow(Text(control));
    for (const std::wstring& item : ComboItems(Control(dialog, kIdMethodList)))
      EXPECT_FALSE(HoldsJapanese(item));
  }
};

TEST_F(Language, DialogsAndTheMissingPictureBoxSpeakTheDisplayLanguage) {
  if (!English()) {
    EXPECT_EQ(SettingsCaption(), L"Tessivaneの設定");
  }
  ASSERT_NO_FATAL_FAILURE(Open());
  ExpectCatalogTexts(Session().Settings(), TextId::kSettingsCaption);
  EXPECT_EQ(Text(Item(kIdOkButton)), Widen(Tr(TextId::kOkButton)));

  HWND options = Session().OpenOptions();
  ExpectCatalogTexts(options, TextId::kOptionsCaption);
  ClickAsync(Control(options, kIdCancelButton));
  ASSERT_TRUE(WaitForWindowGone(options, kExitBound));

  ClickAsync(Item(kIdMusicButton));
  HWND music =
      WaitForTopWindow(Session().Process().Id(), kDialogClassName, MusicCaption().c_str(), kStartBound);
  ExpectCatalogTexts(music, TextId::kMusicCaption);
  ClickAsync(Control(music, kIdCancelButton));
  ASSERT_TRUE(WaitForWindowGone(music, kExitBound));

  // A picture file that is not there: the box names it in the catalog's words.
  const std::wstring missing = L"C:\\no-such-folder\\sunset.bmp";
  Click(Item(kIdImageFileRadio));
  SetText(Item(kIdImageFileEdit), missing);
  MessageBoxSeen box = Session().ClickForBox(Item(kIdOkButton));
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, Widen(Tr(TextId::kErrorCaption)));
  EXPECT_EQ(box.text, missing + L"\r\n" + Widen(Tr(TextId::kFileNotFound)));
  if (English()) {
    EXPECT_FALSE(HoldsJapanese(box.text + box.caption));
  }
  box.Answer();
}

// Alt plus the letter a value row's label shows reaches the row's scroll
// bar; the letters of the other language's labels stay with the controls
// whose captions show them ("Pictures in a fo&lder" in English).
TEST_F(Language, ValueRowLettersReachTheirScrollBarsInEitherLanguage) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const HWND dialog = Session().Settings();
  // The Size, Change and Delay rows' letters, then the folder choice's.
  const wchar_t* const letters = English() ? L"zgyl" : L"lmwj";
  const int scrollBars[] = {kIdSizeScroll, kIdMoveScroll, kIdWeightScroll};
  for (int i = 0; i < 3; ++i) {
    PostAltKey(dialog, letters[i]);
    EXPECT_EQ(FocusedWindow(dialog), Item(scrollBars[i])) << "Alt+" << static_cast<char>(letters[i]);
  }
  PostAltKey(dialog, letters[3]);
  EXPECT_TRUE(Checked(Item(kIdImageFolderRadio))) << "Alt+" << static_cast<char>(letters[3]);
  ClickAsync(Item(kIdCancelButton));
  EXPECT_TRUE(Session().Ended());
}

// A damaged picture chosen as the picture file: the standard box names the
// file, then says what is wrong in the display language alone (a JPEG that
// ends after its first segment, as a download cut short does).
TEST_F(Language, ADamagedPictureIsNamedAndExplainedInTheDisplayLanguage) {
  TempFolder folder;
  const std::wstring picture = folder.File(L"damaged.jpg");
  {
    static const char kCutJpeg[] = "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00";
    ScopedKernelHandle file(
        CreateFileW(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), kCutJpeg, sizeof kCutJpeg - 1, &written, nullptr));
  }
  ASSERT_NO_FATAL_FAILURE(Open());
  Click(Item(kIdImageFileRadio));
  SetText(Item(kIdImageFileEdit), picture);
  MessageBoxSeen box = Session().ClickForBox(Item(kIdOkButton));
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, L"Tessivane");
  EXPECT_EQ(box.text, Widen(StandardErrorText(NamedMessage(Narrow(picture), Tr(TextId::kPictureDamaged)))));
  if (English()) {
    EXPECT_FALSE(HoldsJapanese(box.text));
  } else {  // no Latin letter past the file's name
    const std::wstring said = box.text.substr(box.text.find(L"\r\n") + 2);
    EXPECT_EQ(said.find_first_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::wstring::npos);
  }
  box.Answer();
}

// The widest a caption may be in its control: the control's width less
// the check mark, the glyph or the group frame that shares it.
int Room(HWND control, UINT dpi) {
  RECT client{};
  GetClientRect(control, &client);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  const int kind = static_cast<int>(style & BS_TYPEMASK);
  if (ClassOf(control) != L"Button") return client.right;
  if (kind == BS_GROUPBOX) return client.right - ScaleForDpi(16, dpi);
  if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
    const int glyph = ScaleForDpi(16, dpi) >= 28 ? 32 : ScaleForDpi(16, dpi) >= 20 ? 24 : 16;
    return client.right - glyph - ScaleForDpi(2 + 8, dpi);
  }
  return client.right - ScaleForDpi(13 + 4, dpi);  // check box or radio button
}

// Every caption of a dialog fits its control in the font the dialog gives
// it (the options dialog's pages have a larger one).
void ExpectCaptionsFit(HWND dialog, UINT dpi, bool pageFont) {
  ScopedWindowDC screen(nullptr);
  for (HWND control : Children(dialog)) {
    const std::wstring text = Text(control);
    const std::wstring kind = ClassOf(control);
    if (kind == L"msctls_updown32" && ClassOf(GetParent(control)) == L"SysTabControl32") {
      // A tab strip shows its arrows when its tabs do not fit in one row.
      EXPECT_FALSE(IsWindowVisible(control)) << dpi << " DPI: the tabs do not fit in their strip";
      continue;
    }
    if (text.empty() || (kind != L"Button" && kind != L"Static") || GetDlgCtrlID(control) == kIdAppNameLabel)
      continue;
    ScopedGdiObject<HFONT> font =
        CreateDialogFont(pageFont && kind == L"Static" ? FontRole::kPage : FontRole::kNormal, dpi);
    ScopedSelect select(screen.get(), font.get());
    RECT client{};
    GetClientRect(control, &client);
    RECT need{0, 0, Room(control, dpi), 0};
    const bool lines = kind == L"Static" && text.find(L'\n') != std::wstring::npos;
    DrawTextW(screen.get(), text.c_str(), -1, &need, DT_CALCRECT | (lines ? DT_WORDBREAK : DT_SINGLELINE));
    std::printf("fit %u DPI: %ld of %d px  %s\n", dpi, need.right, Room(control, dpi), Narrow(text).c_str());
    EXPECT_LE(need.right, Room(control, dpi)) << dpi << " DPI: " << Narrow(text) << " is cut off";
    if (lines) {
      EXPECT_LE(need.bottom, client.bottom) << dpi << " DPI: " << Narrow(text) << " is cut off below";
    }
  }
}

// Every caption of the three English dialogs fits its control at 96, 144
// and 192 DPI in the font the dialog gives it.
TEST_F(Language, EveryEnglishCaptionFitsItsControl) {
  if (!English()) GTEST_SKIP() << "the Japanese texts and their places are fixed";
  for (UINT dpi : {96u, 144u, 192u}) {
    SetDpi(dpi);
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND options = Session().OpenOptions();
    ASSERT_NE(options, nullptr);
    ExpectCaptionsFit(Session().Settings(), dpi, false);
    ExpectCaptionsFit(options, dpi, true);
    ClickAsync(Control(options, kIdCancelButton));
    WaitForWindowGone(options, kExitBound);
    ClickAsync(Item(kIdMusicButton));
    HWND music =
        WaitForTopWindow(Session().Process().Id(), kDialogClassName, MusicCaption().c_str(), kStartBound);
    ASSERT_NE(music, nullptr);
    ExpectCaptionsFit(music, dpi, false);
    ClickAsync(Control(music, kIdCancelButton));
    WaitForWindowGone(music, kExitBound);
    ClickAsync(Item(kIdCancelButton));
    EXPECT_TRUE(Session().Ended());
    session_.reset();
  }
}

}  // namespace
}  // namespace tessivane::test
