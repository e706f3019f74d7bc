#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Utf.h"
#include "pattern/PluginLibrary.h"
#include "pattern/PluginMethod.h"
#include "pattern/PluginCheck.h"
#include "support/ErrorRecorder.h"

namespace tessivane {
namespace {

using testing::ErrorRecorder;

class PluginCheckWin : public ::testing::Test {
protected:
  void SetUp() override { SetErrorDisplay(&recorder); }
  void TearDown() override { SetErrorDisplay(nullptr); }
  static bool StillLoaded(const char* name) { return GetModuleHandleW(Widen(name).c_str()) != nullptr; }
  ErrorRecorder recorder;
};

TEST_F(PluginCheckWin, AnswersAndUnloading) {
  EXPECT_NO_THROW(CheckPluginFile("tessivane_test_plugin_answer1.dll", 64));
  EXPECT_TRUE(recorder.shown.empty());
  EXPECT_FALSE(StillLoaded("tessivane_test_plugin_answer1.dll"));

  EXPECT_NO_THROW(CheckPluginFile("tessivane_test_plugin_answer2.dll", 64));
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "このDLLは使えません。:13\r\nこのDLLは使えません。");

  EXPECT_THROW(CheckPluginFile("tessivane_test_plugin_noexport.dll", 64), SilentAbort);
  EXPECT_EQ(recorder.shown.at(1), "関数が呼び出せませんでした。:8\r\n関数名[TessivaneDLL]");
  EXPECT_FALSE(StillLoaded("tessivane_test_plugin_noexport.dll"));
}

TEST_F(PluginCheckWin, FileThatIsNoLibraryGivesError7WithoutASystemBox) {
  const std::string name = "not_a_library_プラグイン.dll";
  { std::ofstream(Widen(name).c_str()) << "MZ this is only text"; }
  EXPECT_THROW(CheckPluginFile(name, 64), SilentAbort);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "DLLの呼び出しに失敗しました。:7\r\nファイル[" + name + "]");
  DeleteFileW(Widen(name).c_str());
}

// A stdcall function called through the wrong convention would leave the
// stack unbalanced; many calls with arguments make that show.
TEST(PluginLibraryWin, StdcallExportsWithArguments) {
  PluginLibrary library = PluginLibrary::Open("tessivane_test_plugin_answer1.dll");
  ASSERT_TRUE(library.Loaded());
  auto size = library.Find<MakeImageSizeProc>(kExportMakeImageSize);
  ASSERT_NE(size, nullptr);
  for (int32_t i = 0; i < 1000; ++i) {
    int32_t w = 0, h = 0;
    size(i, 2 * i, &w, &h);
    ASSERT_EQ(w, i + 1);
    ASSERT_EQ(h, 2 * i + 2);
  }
}

}  // namespace
}  // namespace tessivane

namespace tessivane {
namespace {

// A 64-bit DLL in the 32-bit build, or a 32-bit DLL in the 64-bit build:
// the system refuses it, and the set-up reports error 7 without a box.
TEST_F(PluginCheckWin, LibraryOfTheOtherWordSizeGivesError7) {
  const std::string name = "tessivane_test_plugin_other_word_size.dll";
  auto method = std::make_unique<PluginMethod>(name);
  const UnitFailure failure = method->Setup({64, 64}, false, ProgramRandom());
  EXPECT_EQ(failure.number, kErrPluginLoad);
  EXPECT_EQ(failure.detail, "ファイル[" + name + "]");
  EXPECT_THROW(CheckPluginFile(name, 64), SilentAbort);
  EXPECT_EQ(recorder.shown.at(0), "DLLの呼び出しに失敗しました。:7\r\nファイル[" + name + "]");
}

}  // namespace
}  // namespace tessivane
