// The music dialog, opened from the settings dialog of the real
// Tessivane.scr (/c) with its "BGM(&G)" button, driven through its controls
// and judged by the registry. Its playability test runs on the system's
// real media control interface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogSession.h"
#include "base/Errors.h"
#include "base/Utf.h"
#include "base/Texts.h"
#include "support/SoundFiles.h"

namespace tessivane::test {
namespace {

using namespace tessivane::dialogs;

constexpr int kOpenDialogFilterList = 0x470;  // the open dialog's file type list

std::wstring W(const char* utf8) { return Widen(utf8); }
std::wstring CannotPlay(const std::wstring& path) {
  return Widen(Format(Tr(TextId::kMusicCannotPlay), Narrow(path).c_str()));
}

class MusicDialog : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    WriteWav(folder_.File(L"音.wav"), 300);
    WriteBytes(folder_.File(L"text.wav"), "not a sound");
  }
  void OpenMusic() {
    ASSERT_NO_FATAL_FAILURE(Open());
    ClickAsync(Item(kIdMusicButton));
    music_ =
        WaitForTopWindow(Session().Process().Id(), kDialogClassName, MusicCaption().c_str(), kStartBound);
    ASSERT_NE(music_, nullptr) << "the music dialog did not appear";
  }
  HWND MusicItem(int id) const { return Control(music_, id); }
  MessageBoxSeen ClickForBox(int id) {
    ClickAsync(MusicItem(id));
    return WaitForMessageBox(Session().Process().Id(), kBoxBound, {Session().Settings(), music_});
  }
  void ExpectRefused(int button, const std::wstring& path) {
    MessageBoxSeen box = ClickForBox(button);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box.text, CannotPlay(path));
    box.Answer();
    EXPECT_TRUE(IsWindowVisible(music_)) << "the dialog stays open";
    EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), path) << "the input stays";
  }
  void ExpectClosed() {
    EXPECT_TRUE(WaitForWindowGone(music_, kExitBound));
    Settle(Session().Settings());
    EXPECT_TRUE(IsWindowVisible(Session().Settings()));
  }

  TempFolder folder_;
  HWND music_ = nullptr;
};

TEST_F(MusicDialog, AnEmptyStoreOpensWithoutMusicAndTheFileControlsDisabled) {
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  EXPECT_EQ(WindowText(music_), MusicCaption());
  EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), L"");
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOffRadio)));
  EXPECT_FALSE(Checked(MusicItem(kIdMusicOnRadio)));
  EXPECT_FALSE(Enabled(MusicItem(kIdMusicFileEdit)));
  EXPECT_FALSE(Enabled(MusicItem(kIdMusicBrowseButton)));
  EXPECT_EQ(Text(MusicItem(kIdMusicOnRadio)), W(Tr(TextId::kMusicOnRadio)));
  EXPECT_EQ(Text(MusicItem(kIdMusicOffRadio)), W(Tr(TextId::kMusicOffRadio)));
  EXPECT_EQ(Text(MusicItem(kIdMusicBrowseButton)), W(Tr(TextId::kPluginBrowseButton)));
  EXPECT_EQ(Text(MusicItem(kIdMusicUpdateButton)), W(Tr(TextId::kUpdateButton)));

  Click(MusicItem(kIdMusicOnRadio));
  EXPECT_TRUE(Enabled(MusicItem(kIdMusicFileEdit)));
  EXPECT_TRUE(Enabled(MusicItem(kIdMusicBrowseButton)));
  ClickAsync(MusicItem(kIdCancelButton));
  ExpectClosed();
  // The record is written back when the dialog goes: the defaults.
  EXPECT_EQ(Setting("BGM", "File"), L"");
  EXPECT_EQ(Setting("BGM", "Flag"), L"0");
}

TEST_F(MusicDialog, MusicWithAFileThatCannotPlayIsRefusedAndNothingIsSaved) {
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  Click(MusicItem(kIdMusicOnRadio));
  ASSERT_NO_FATAL_FAILURE(ExpectRefused(kIdOkButton, L""));
  const std::wstring text = folder_.File(L"text.wav");
  SetText(MusicItem(kIdMusicFileEdit), text);
  ASSERT_NO_FATAL_FAILURE(ExpectRefused(kIdMusicUpdateButton, text));
  ASSERT_NO_FATAL_FAILURE(ExpectRefused(kIdOkButton, text));
  EXPECT_EQ(Setting("BGM", "Flag"), std::nullopt) << "nothing saved";
  EXPECT_EQ(Setting("BGM", "File"), std::nullopt);
}

TEST_F(MusicDialog, APlayableWavIsStoredWithMusicOnAndShownNextTime) {
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  Click(MusicItem(kIdMusicOnRadio));
  const std::wstring wav = folder_.File(L"音.wav");
  SetText(MusicItem(kIdMusicFileEdit), wav);
  Click(MusicItem(kIdMusicUpdateButton));
  EXPECT_EQ(Setting("BGM", "File"), wav);
  EXPECT_EQ(Setting("BGM", "Flag"), L"1");
  EXPECT_TRUE(IsWindowVisible(music_));
  ClickAsync(MusicItem(kIdOkButton));
  ExpectClosed();

  ClickAsync(Item(kIdMusicButton));
  music_ = WaitForTopWindow(Session().Process().Id(), kDialogClassName, MusicCaption().c_str(), kStartBound);
  ASSERT_NE(music_, nullptr);
  EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), wav);
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOnRadio)));
  EXPECT_TRUE(Enabled(MusicItem(kIdMusicFileEdit)));
  // A refused file later leaves the stored music as it was, also once the
  // dialog is gone.
  SetText(MusicItem(kIdMusicFileEdit), folder_.File(L"text.wav"));
  ASSERT_NO_FATAL_FAILURE(ExpectRefused(kIdOkButton, folder_.File(L"text.wav")));
  ClickAsync(MusicItem(kIdCancelButton));
  ExpectClosed();
  EXPECT_EQ(Setting("BGM", "File"), wav);
  EXPECT_EQ(Setting("BGM", "Flag"), L"1");
}

TEST_F(MusicDialog, WithoutMusicAnyTextIsStoredWithFlagZero) {
  PutSetting("BGM", "File", L"x");
  PutSetting("BGM", "Flag", L"1");
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOnRadio)));
  SetText(MusicItem(kIdMusicFileEdit), L"no such file ?*");
  Click(MusicItem(kIdMusicOffRadio));
  EXPECT_FALSE(Enabled(MusicItem(kIdMusicFileEdit)));
  ClickAsync(MusicItem(kIdOkButton));
  ExpectClosed();
  EXPECT_EQ(Setting("BGM", "File"), L"no such file ?*");
  EXPECT_EQ(Setting("BGM", "Flag"), L"0");
}

TEST_F(MusicDialog, EveryActivationShowsTheRecordAgain) {
  PutSetting("BGM", "File", L"stored.wav");
  PutSetting("BGM", "Flag", L"0");
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  Click(MusicItem(kIdMusicOnRadio));
  SetText(MusicItem(kIdMusicFileEdit), L"typed.wav");
  SendMessageW(music_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), L"stored.wav");
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOffRadio)));
  EXPECT_FALSE(Enabled(MusicItem(kIdMusicFileEdit)));
}

TEST_F(MusicDialog, ADropFillsTheDisabledPathBoxAndLeavesTheChoice) {
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  const std::wstring wav = folder_.File(L"音.wav");
  RemoteMemory drop = DropFiles(music_, {wav, folder_.File(L"text.wav")});
  Settle(music_);
  EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), wav);
  EXPECT_FALSE(Enabled(MusicItem(kIdMusicFileEdit)));
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOffRadio)));
  EXPECT_FALSE(Checked(MusicItem(kIdMusicOnRadio)));
  ClickAsync(MusicItem(kIdCancelButton));
  ExpectClosed();
  EXPECT_EQ(Setting("BGM", "File"), L"") << "a drop is not applied by itself";
}

TEST_F(MusicDialog, TheBrowseButtonOffersMusicFilesAndPutsTheChoiceInThePathBox) {
  ASSERT_NO_FATAL_FAILURE(OpenMusic());
  Click(MusicItem(kIdMusicOnRadio));
  ClickAsync(MusicItem(kIdMusicBrowseButton));
  HWND open = WaitForTopWindow(Session().Process().Id(), kDialogClassName, nullptr, kStartBound, nullptr,
                               {Session().Settings(), music_});
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(ComboItems(Control(open, kOpenDialogFilterList)),
            (std::vector<std::wstring>{W(Tr(TextId::kMusicFilterName)), W(Tr(TextId::kAllFilesFilterName))}));
  const std::wstring wav = folder_.File(L"音.wav");
  ConfirmOpenFileDialog(open, wav);
  EXPECT_TRUE(WaitForWindowGone(open, kExitBound));
  Settle(music_);
  EXPECT_EQ(Text(MusicItem(kIdMusicFileEdit)), wav);
  EXPECT_TRUE(Checked(MusicItem(kIdMusicOnRadio))) << "coming back from the open dialog keeps the input";
  ClickAsync(MusicItem(kIdOkButton));
  ExpectClosed();
  EXPECT_EQ(Setting("BGM", "File"), wav);
  EXPECT_EQ(Setting("BGM", "Flag"), L"1");
}

}  // namespace
}  // namespace tessivane::test
