#include "pattern/PluginLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "pattern/PluginCheck.h"
#include "pattern/PluginCheck.h"
#include "support/ErrorRecorder.h"

namespace tessivane {
namespace {

using testing::ErrorRecorder;

class PluginCheck : public ::testing::Test {
protected:
  void SetUp() override { SetErrorDisplay(&recorder); }
  void TearDown() override { SetErrorDisplay(nullptr); }

  // True while the library at path is still mapped into the process.
  static bool StillLoaded(const char* path) {
    void* h = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
  }

  ErrorRecorder recorder;
};

TEST_F(PluginCheck, AnswerOnePassesSilentlyAndUnloads) {
  EXPECT_NO_THROW(CheckPluginFile(TEST_PLUGIN_ANSWER1, 64));
  EXPECT_TRUE(recorder.shown.empty());
  EXPECT_FALSE(StillLoaded(TEST_PLUGIN_ANSWER1));
}

TEST_F(PluginCheck, OtherAnswerShowsError13AndCarriesOn) {
  EXPECT_NO_THROW(CheckPluginFile(TEST_PLUGIN_ANSWER2, 64));
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "このDLLは使えません。:13\r\nこのDLLは使えません。");
  EXPECT_FALSE(StillLoaded(TEST_PLUGIN_ANSWER2));
}

TEST_F(PluginCheck, MissingExportShowsError8AbortsAndUnloads) {
  EXPECT_THROW(CheckPluginFile(TEST_PLUGIN_NOEXPORT, 64), SilentAbort);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "関数が呼び出せませんでした。:8\r\n関数名[TessivaneDLL]");
  EXPECT_FALSE(StillLoaded(TEST_PLUGIN_NOEXPORT));
}

TEST_F(PluginCheck, NotALibraryShowsError7AndAborts) {
  auto path = std::filesystem::temp_directory_path() / "tessivane_not_a_library.dll";
  { std::ofstream(path) << "MZ this is only text"; }
  EXPECT_THROW(CheckPluginFile(path.string(), 64), SilentAbort);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0], "DLLの呼び出しに失敗しました。:7\r\nファイル[" + path.string() + "]");
  std::filesystem::remove(path);

  recorder.shown.clear();
  EXPECT_THROW(CheckPluginFile("/nonexistent/プラグイン.dll", 64), SilentAbort);
  EXPECT_EQ(recorder.shown.at(0), "DLLの呼び出しに失敗しました。:7\r\nファイル[/nonexistent/プラグイン.dll]");
}

TEST(PluginLibraryHandle, FindsExportsAndMovesOwnership) {
  PluginLibrary empty;
  EXPECT_FALSE(empty.Loaded());
  EXPECT_EQ(empty.Find<TessivaneDllProc>(kExportTessivaneDll), nullptr);

  PluginLibrary a = PluginLibrary::Open(TEST_PLUGIN_ANSWER2);
  ASSERT_TRUE(a.Loaded());
  auto proc = a.Find<TessivaneDllProc>(kExportTessivaneDll);
  ASSERT_NE(proc, nullptr);
  EXPECT_EQ(proc(), 2);
  EXPECT_EQ(a.Find<SymmetryTypeProc>(kExportSymmetryType), nullptr);

  PluginLibrary b = std::move(a);
  EXPECT_FALSE(a.Loaded());
  EXPECT_TRUE(b.Loaded());
  b.Close();
  EXPECT_FALSE(b.Loaded());
}

}  // namespace
}  // namespace tessivane
