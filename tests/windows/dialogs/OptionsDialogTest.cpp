// The method options dialog, opened from the settings dialog of the real
// Tessivane.scr (/c) with its details button, driven through its controls.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "DialogSession.h"
#include "base/Errors.h"
#include "base/Utf.h"
#include "base/Texts.h"
#include "dialogs/OptionsDialogModel.h"
#include "settings/MemorySettingsStore.h"
#include "settings/MethodOptions.h"
#include "pattern/MethodTable.h"
#include "support/MethodNumbering.h"

namespace tessivane::test {
namespace {

using namespace tessivane::dialogs;
using testing::PinnedRandomText;

// The list's marks; none marked unless listed.
struct Marks : RandomMarks {
  Marks() : RandomMarks(static_cast<size_t>(RandomListCount())) {}
};

// The marks of an empty store, as the method table's rows say.
Marks DefaultMarks() {
  Marks marks;
  for (const MethodRow& row : MethodRows())
    if (row.ListPosition >= 0 && row.Type != kMethodTypeRandom)
      marks[static_cast<size_t>(MethodTypeToListPosition(row.Type))] = row.RandomByDefault;
  return marks;
}

class OptionsDialog : public DialogTest {
protected:
  void OpenOptions() {
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NE(Session().OpenOptions(), nullptr) << "the options dialog did not appear";
  }
  HWND Options() { return Session().Options(); }
  HWND OptionsItem(int id) { return Session().OptionsItem(id); }
  HWND List() { return OptionsItem(kIdRandomList); }

  Marks ShownMarks() {
    Marks marks{};
    for (int i = 0; i < RandomListCount(); ++i) marks[i] = ListItemChecked(List(), i);
    return marks;
  }
  void Mark(const Marks& marks) {
    for (int i = 0; i < RandomListCount(); ++i) SetListItemChecked(List(), i, marks[i]);
  }
  // OK, expecting the dialog to refuse with this message on this page.
  void ExpectRejection(const std::wstring& text, int page) {
    MessageBoxSeen box = Session().ClickForBox(OptionsItem(kIdOkButton));
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box.text, text);
    box.Answer();
    EXPECT_TRUE(IsWindowVisible(Options())) << "the dialog stays open";
    EXPECT_EQ(SelectedTab(OptionsItem(kIdOptionsTabs)), page);
  }
  // Waits until the options dialog has closed and its record is written
  // back; the settings dialog stays.
  void ExpectClosed() {
    EXPECT_TRUE(WaitForWindowGone(Options(), kExitBound));
    Settle(Session().Settings());
    EXPECT_TRUE(IsWindowVisible(Session().Settings()));
  }
  // OK, expecting the dialog to close.
  void OkAndClose() {
    ClickAsync(OptionsItem(kIdOkButton));
    ExpectClosed();
  }
  void CloseAll() {
    if (IsWindow(Options()) && IsWindowVisible(Options())) {
      ClickAsync(OptionsItem(kIdCancelButton));
      ExpectClosed();
    }
    ClickAsync(Item(kIdCancelButton));
    EXPECT_TRUE(Session().Ended());
  }
};

TEST_F(OptionsDialog, AValueThatIsNotTextIsReportedThenShownAtItsDefaultAndOkRepairsIt) {
  PutSetting("Option", "XY", L"3");
  PutSettingDword("Option", "Rotate", 9);
  ASSERT_NO_FATAL_FAILURE(Open());
  MessageBoxSeen box = Session().ClickForBox(Item(kIdDetailsButton));
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box.caption, L"Tessivane");
  EXPECT_EQ(box.text, L"'Rotate' のデータ型が不正です.");
  box.Answer();
  ASSERT_NE(Session().WaitForOptions(), nullptr) << "the options dialog opens after the message";
  EXPECT_EQ(Text(OptionsItem(kIdDistortValueEdit)), L"3");
  EXPECT_EQ(ScrollPosition(OptionsItem(kIdRectangleAspectScroll)), 3);
  OkAndClose();
  EXPECT_EQ(Setting("Option", "Rotate"), L"3");
  EXPECT_EQ(Setting("Option", "XY"), L"3");
  CloseAll();
}

TEST_F(OptionsDialog, EmptyStoreOpensOnTheFirstPageWithTheDefaultMarks) {
  ASSERT_NO_FATAL_FAILURE(OpenOptions());
  EXPECT_EQ(SelectedTab(OptionsItem(kIdOptionsTabs)), kPageDistortedSquare);
  EXPECT_EQ(Text(OptionsItem(kIdDistortValueEdit)), L"3");
  EXPECT_EQ(ScrollPosition(OptionsItem(kIdRectangleAspectScroll)), 0);
  EXPECT_EQ(ScrollPosition(OptionsItem(kIdNoConversionAspectScroll)), 0);
  ASSERT_EQ(ListItemCount(List()), RandomListCount());
  for (int i = 0; i < RandomListCount(); ++i)
    EXPECT_EQ(ListItemText(List(), i), Widen(std::string(RandomListLabel(i)))) << i;
  EXPECT_EQ(ShownMarks(), DefaultMarks());

  // Cancel closes it and the record it loaded is written back.
  ClickAsync(OptionsItem(kIdCancelButton));
  ExpectClosed();
  MemorySettingsStore defaults;
  { MethodOptions record(defaults); }
  for (const auto& [name, value] : defaults.contents().subkeys.at("Option"))
    EXPECT_EQ(Setting("Option", name), Widen(*defaults.Text("Option", name))) << name;
  CloseAll();
}

TEST_F(OptionsDialog, RejectionsShowTheirMessageOnThePageAtFaultAndSaveNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenOptions());
  const std::wstring range =
      Widen(Format(Tr(TextId::kDistortValueRange), kDistortValueMin, kDistortValueMax));
  for (const wchar_t* value : {L"1", L"21", L"abc"}) {
    SCOPED_TRACE(Narrow(value));
    SelectTab(OptionsItem(kIdOptionsTabs), kPageRandom);
    SetText(OptionsItem(kIdDistortValueEdit), value);
    ASSERT_NO_FATAL_FAILURE(ExpectRejection(range, kPageDistortedSquare));
  }
  SetText(OptionsItem(kIdDistortValueEdit), L"20");
  Mark(Marks{});
  ASSERT_NO_FATAL_FAILURE(ExpectRejection(Widen(Tr(TextId::kNoMethodForRandom)), kPageRandom));
  // Update refuses the same way.
  MessageBoxSeen box = Session().ClickForBox(OptionsItem(kIdOptionsUpdateButton));
  ASSERT_TRUE(box);
  EXPECT_EQ(box.text, Widen(Tr(TextId::kNoMethodForRandom)));
  box.Answer();
  EXPECT_EQ(Setting("Option", "Random"), std::nullopt);
  EXPECT_EQ(Setting("Option", "Rotate"), std::nullopt);
  CloseAll();
}

TEST_F(OptionsDialog, OneMarkedMethodStoresItsCharacterAloneAndReopensMarked) {
  ASSERT_NO_FATAL_FAILURE(OpenOptions());
  Marks spiral{};
  spiral[static_cast<size_t>(MethodTypeToListPosition(11))] = true;  // "渦巻き"
  Mark(spiral);
  SetText(OptionsItem(kIdDistortValueEdit), L"20");
  Click(OptionsItem(kIdOptionsUpdateButton));
  EXPECT_EQ(Setting("Option", "Random"), Widen(PinnedRandomText({11})));
  EXPECT_EQ(Setting("Option", "Rotate"), L"20");
  EXPECT_TRUE(IsWindowVisible(Options())) << "update keeps the dialog open";
  OkAndClose();

  ASSERT_NE(Session().OpenOptions(), nullptr);
  EXPECT_EQ(ShownMarks(), spiral);
  EXPECT_EQ(Text(OptionsItem(kIdDistortValueEdit)), L"20");
  Marks rectangle{};
  rectangle[static_cast<size_t>(MethodTypeToListPosition(5))] = true;  // "長方形"
  Mark(rectangle);
  OkAndClose();
  EXPECT_EQ(Setting("Option", "Random"), Widen(PinnedRandomText({5})));

  ASSERT_NE(Session().OpenOptions(), nullptr);
  EXPECT_EQ(ShownMarks(), rectangle);
  CloseAll();
}

TEST_F(OptionsDialog, AspectStepsOutsideTheRangeShowAndStoreTheBound) {
  PutSetting("Option", "NoneXY", L"9");
  PutSetting("Option", "XY", L"-2");
  ASSERT_NO_FATAL_FAILURE(OpenOptions());
  EXPECT_EQ(ScrollPosition(OptionsItem(kIdNoConversionAspectScroll)), kAspectMax);
  EXPECT_EQ(ScrollPosition(OptionsItem(kIdRectangleAspectScroll)), -2);
  SelectTab(OptionsItem(kIdOptionsTabs), kPageRectangle);
  SetScrollPosition(OptionsItem(kIdRectangleAspectScroll), 3);
  OkAndClose();
  EXPECT_EQ(Setting("Option", "NoneXY"), L"5");
  EXPECT_EQ(Setting("Option", "XY"), L"3");
  CloseAll();
}

TEST_F(OptionsDialog, EscapeClosesOnlyTheOptionsDialog) {
  ASSERT_NO_FATAL_FAILURE(OpenOptions());
  SetText(OptionsItem(kIdDistortValueEdit), L"7");
  PostKeyToFocus(Options(), VK_ESCAPE);
  ExpectClosed();
  EXPECT_EQ(Setting("Option", "Rotate"), L"3");
  ASSERT_NE(Session().OpenOptions(), nullptr);
  SetText(OptionsItem(kIdDistortValueEdit), L"7");
  PostKeyToFocus(Options(), VK_RETURN);
  ExpectClosed();
  EXPECT_EQ(Setting("Option", "Rotate"), L"7");
  CloseAll();
}

}  // namespace
}  // namespace tessivane::test
