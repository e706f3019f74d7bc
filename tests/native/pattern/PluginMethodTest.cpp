// The plug-in method against real libraries: the scripted test plug-in
// (plugins/scripted.c) and its builds without one export each, loaded as
// shared objects natively and as DLLs under Wine.
#include "pattern/PluginMethod.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "base/Errors.h"
#include "base/Random.h"
#include "pattern/MethodTable.h"
#include "pattern/MethodTestSupport.h"
#include "pattern/PluginCalls.h"
#include "support/AllocationCounter.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace tessivane {
namespace {

using namespace tessivane::testing;

// A test plug-in build by its kind; the DLLs lie beside the test program
// and are found by the system's search.
std::string PluginFile(const std::string& kind) {
#if defined(_WIN32)
  return "tessivane_test_plugin_" + kind + ".dll";
#else
  return std::string(TEST_PLUGIN_DIR) + "/tessivane_test_plugin_" + kind + ".so";
#endif
}

void SetVariable(const char* name, const char* value) {
#if defined(_WIN32)
  SetEnvironmentVariableA(name, value);
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
}

std::string Variable(const char* name) {
#if defined(_WIN32)
  char text[256] = {};
  const DWORD n = GetEnvironmentVariableA(name, text, sizeof text);
  return n > 0 && n < sizeof text ? std::string(text, n) : std::string();
#else
  const char* text = std::getenv(name);
  return text ? text : "";
#endif
}

bool StillLoaded(const std::string& file) {
#if defined(_WIN32)
  return GetModuleHandleA(file.c_str()) != nullptr;
#else
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
#endif
}

class PluginMethodTest : public ::testing::Test {
protected:
  void TearDown() override { SetVariable("TESSIVANE_TEST_PLUGIN", nullptr); }

  // Sets the method up for a w x h cut with the scripted plug-in (or the
  // build `kind`) answering as `script` says. The library must be unloaded
  // afterwards, whatever happened: its unload writes the call log.
  bool AskPlugin(PluginMethod& method, const std::string& script, int w = 64, int h = 64,
                 bool shuffle = false, const std::string& kind = "scripted") {
    SetVariable("TESSIVANE_TEST_PLUGIN", script.c_str());
    SetVariable("TESSIVANE_TEST_PLUGIN_LOG", nullptr);
    method.SetFileName(PluginFile(kind));
    failure = method.Setup({w, h}, shuffle, ProgramRandom());
    log = Variable("TESSIVANE_TEST_PLUGIN_LOG");
    EXPECT_FALSE(log.empty()) << "the library was not unloaded (" << script << ")";
    EXPECT_FALSE(StillLoaded(method.FileName())) << script;
    return failure.number == 0;
  }

  void ExpectFailure(const std::string& script, int errorNo, const std::string& detail) {
    auto method = std::make_unique<PluginMethod>();
    EXPECT_FALSE(AskPlugin(*method, script)) << script;
    EXPECT_EQ(failure.number, errorNo) << script;
    EXPECT_EQ(failure.detail, detail) << script;
  }

  UnitFailure failure;  // what the last AskPlugin's set-up answered
  std::string log;      // what the plug-in was asked, written when it was unloaded
};

TEST_F(PluginMethodTest, AFileThatIsNotALibraryGivesError7WithItsName) {
  const std::filesystem::path text = std::filesystem::temp_directory_path() / "tessivane_plugin_text.dll";
  { std::ofstream(text) << "MZ only text"; }
  // An empty name (no plug-in chosen) is no library either, on every platform.
  for (const std::string& file :
       {text.string(), std::string("no-such-folder/プラグイン.dll"), std::string()}) {
    auto method = std::make_unique<PluginMethod>(file);
    failure = method->Setup({64, 64}, false, ProgramRandom());
    EXPECT_EQ(failure.number, kErrPluginLoad);
    EXPECT_EQ(failure.detail, "ファイル[" + file + "]");
  }
  std::filesystem::remove(text);
}

TEST_F(PluginMethodTest, TheFirstMissingExportGivesError8WithItsNameAndNothingIsCalled) {
  const struct {
    const char* kind;
    const char* missing;
  } builds[] = {{"without_identify", "TessivaneDLL"},
                {"without_size", "MakeImageSize"},
                {"without_trans", "MakeTransMethod"},
                {"without_symmetry", "SymmetryType"},
                {"without_size_symmetry", "MakeImageSize"}};
  for (const auto& build : builds) {
    auto method = std::make_unique<PluginMethod>();
    EXPECT_FALSE(AskPlugin(*method, "", 64, 64, false, build.kind)) << build.kind;
    EXPECT_EQ(failure.number, kErrPluginExport) << build.kind;
    EXPECT_EQ(failure.detail, std::string("関数名[") + build.missing + "]");
    EXPECT_EQ(log, "calls= identify=0 size=0 trans=0 symmetry=0 last=-1,-1") << build.kind;
  }
}

TEST_F(PluginMethodTest, AreaSizeChecksInOrderAndNothingIsAskedAfterThem) {
  ExpectFailure("area=31x100", kErrPluginWidthSmall, "設定値[31] 制限値[32]");
  EXPECT_EQ(log, "calls=IS identify=1 size=1 trans=0 symmetry=0 last=-1,-1");
  ExpectFailure("area=300x10", kErrPluginWidthLarge, "設定値[300] 制限値[256]");
  ExpectFailure("area=100x257", kErrPluginHeightLarge, "設定値[257] 制限値[256]");
  ExpectFailure("area=100x20", kErrPluginHeightSmall, "設定値[20] 制限値[32]");
  // A plug-in that never writes the size leaves the fresh object's 0.
  ExpectFailure("nosize", kErrPluginWidthSmall, "設定値[0] 制限値[32]");

  auto method = std::make_unique<PluginMethod>();
  ASSERT_TRUE(AskPlugin(*method, "area=32x256"));
  EXPECT_EQ(method->Area(), (Point{32, 256}));
  EXPECT_EQ(log, "calls=ISTY identify=1 size=1 trans=8192 symmetry=1 last=31,255");
  // The sizes are written in place: without an answer the last one stands.
  ASSERT_TRUE(AskPlugin(*method, "nosize"));
  EXPECT_EQ(method->Area(), (Point{32, 256}));
}

TEST_F(PluginMethodTest, OnlyTheFirstBadSourcePointIsReported) {
  // Position (5, 7) is the 5 x 64 + 7 + 1 = 328th question of a 64 x 64 area.
  ExpectFailure("bad=5,7:64,0", kErrPluginXOutside, "設定値[64] 制限値[64]");
  EXPECT_EQ(log, "calls=IST identify=1 size=1 trans=328 symmetry=0 last=5,7");
  ExpectFailure("bad=5,7:-1,0", kErrPluginXNegative, "設定値[-1] 制限値[0]");
  ExpectFailure("bad=5,7:0,64", kErrPluginYOutside, "設定値[64] 制限値[64]");
  ExpectFailure("bad=5,7:0,-1", kErrPluginYNegative, "設定値[-1] 制限値[0]");
  ExpectFailure("bad=5,7:64,-1", kErrPluginXOutside, "設定値[64] 制限値[64]");
  ExpectFailure("bad=5,7:-5,99", kErrPluginXNegative, "設定値[-5] 制限値[0]");
}

TEST_F(PluginMethodTest, SymmetryOutsideOneToFourGivesError14AfterEveryPosition) {
  for (int symmetry : {0, 5}) {
    ExpectFailure("sym=" + std::to_string(symmetry), kErrPluginSymmetry,
                  "変換タイプ[" + std::to_string(symmetry) + "]");
    EXPECT_EQ(log, "calls=ISTY identify=1 size=1 trans=4096 symmetry=1 last=63,63");
  }
}

TEST_F(PluginMethodTest, IdentificationOtherThanOneIsRecordedAsError13AndTheSetUpCarriesOn) {
  auto method = std::make_unique<PluginMethod>();
  ASSERT_TRUE(AskPlugin(*method, "id=2"));
  EXPECT_EQ(method->NoticeForTesting().number, kErrPluginUnusable);
  EXPECT_EQ(method->NoticeForTesting().detail, "このDLLは使えません。");
  EXPECT_EQ(method->Make(CoordinateCut(64, 64)).number, 0);
  // A later failure of the same set-up is its answer.
  EXPECT_FALSE(AskPlugin(*method, "id=0 sym=7"));
  EXPECT_EQ(failure.number, kErrPluginSymmetry);
  EXPECT_EQ(failure.detail, "変換タイプ[7]");
}

TEST_F(PluginMethodTest, IdentityReproducesTheCutAndFramesNeitherAllocateNorCallThePlugin) {
  auto method = std::make_unique<PluginMethod>();
  ASSERT_TRUE(AskPlugin(*method, "", 64, 48));
  EXPECT_EQ(method->NoticeForTesting().number, 0);
  EXPECT_EQ(method->Symmetry(), 1);
  const Bitmap cut = CoordinateCut(64, 48);
  ASSERT_EQ(method->Make(cut).number, 0);
  ASSERT_EQ(method->Tile().Width(), 64);
  ASSERT_EQ(method->Tile().Height(), 48);
  for (int row = 0; row < 48; ++row)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(method->Tile().PixelRgb(x, row), cut.PixelRgb(x, row));

  const std::string logAfterSetUp = Variable("TESSIVANE_TEST_PLUGIN_LOG");
  AllocationCounter counter;
  for (int i = 0; i < 5; ++i) ASSERT_EQ(method->Make(cut).number, 0);
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_EQ(Variable("TESSIVANE_TEST_PLUGIN_LOG"), logAfterSetUp) << "no plug-in code during frames";
}

TEST_F(PluginMethodTest, TheFourSymmetryTypesForA100By80Area) {
  const int sizes[][2] = {{100, 80}, {198, 80}, {100, 158}, {198, 158}};
  auto method = std::make_unique<PluginMethod>();
  for (int symmetry = 1; symmetry <= 4; ++symmetry) {
    SCOPED_TRACE(symmetry);
    ASSERT_TRUE(AskPlugin(*method, "area=100x80 sym=" + std::to_string(symmetry), 128, 128));
    ASSERT_EQ(method->Make(CoordinateCut(128, 128)).number, 0);
    const Bitmap& tile = method->Tile();
    EXPECT_EQ(tile.Width(), sizes[symmetry - 1][0]);
    EXPECT_EQ(tile.Height(), sizes[symmetry - 1][1]);
    // The area itself: row 0 of the tile is the area's top row (y = 79).
    EXPECT_EQ(PointAt(tile, 0, 0), (CutPoint{0, 79}));
    EXPECT_EQ(PointAt(tile, 99, 79), (CutPoint{99, 0}));
    if (symmetry == 2 || symmetry == 4) {
      for (int x = 1; x <= 98; ++x) ASSERT_TRUE(ColumnsEqual(tile, x, 198 - x)) << x;
    }
    if (symmetry == 3 || symmetry == 4) {
      for (int y = 1; y <= 78; ++y) ASSERT_TRUE(RowsEqual(tile, y, 158 - y)) << y;
    }
  }
  EXPECT_EQ(PluginMethod::TileSizeFor(9, {100, 80}), (Point{100, 80}));
}

TEST_F(PluginMethodTest, ShuffledPointsComposeWithThePluginAnswers) {
  ScopedSeedSource seed(FixedSeed(77));
  auto method = std::make_unique<PluginMethod>();
  ASSERT_TRUE(AskPlugin(*method, "", 64, 64, /*shuffle=*/true));
  ASSERT_EQ(method->Make(CoordinateCut(64, 64)).number, 0);
  int moved = 0;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) {
      const int32_t point = method->Map()[x][y];
      const CutPoint shown = PointAt(method->Tile(), x, 63 - y);
      ASSERT_EQ(shown, (CutPoint{ConversionMethod::PointX(point), ConversionMethod::PointY(point)}));
      moved += shown != CutPoint{x, y};
    }
  EXPECT_GT(moved, 1000);
}

// A runner that reports the end of the run instead of running the work.
struct EndedRunner : PluginCallRunner {
  int asked = 0;
  PluginAnswers Ask(const PluginQuestion&) override {
    ++asked;
    throw PluginRunEnded();
  }
};

TEST_F(PluginMethodTest, CallsGoThroughTheRunnerAndTheEndOfTheRunIsNoUnitError) {
  EndedRunner runner;
  SetPluginCallRunner(&runner);
  auto method = std::make_unique<PluginMethod>(PluginFile("scripted"));
  EXPECT_THROW(method->Setup({64, 64}, false, ProgramRandom()), PluginRunEnded);
  SetPluginCallRunner(nullptr);
  EXPECT_EQ(runner.asked, 1);
  EXPECT_EQ(method->NoticeForTesting().number, 0);
}

// A runner that answers with a built-in method's answers for the same cut.
struct BuiltInRunner : PluginCallRunner {
  const ConversionMethod* method = nullptr;
  PluginAnswers Ask(const PluginQuestion&) override {
    PluginAnswers a;
    a.tileWidth = method->Area().x;
    a.tileHeight = method->Area().y;
    a.symmetry = method->Symmetry();
    a.symmetryAnswered = true;
    for (int x = 0; x < a.tileWidth; ++x)
      for (int y = 0; y < a.tileHeight; ++y) a.sources.push_back(method->Map()[x][y]);
    return a;
  }
};

// Every built-in method answers as a plug-in does: its area, symmetry and
// map, handed to the plug-in method as a plug-in's answers, make its tile.
TEST(BuiltInMethodAsPlugin, ItsAnswersMakeItsTile) {
  BuiltInRunner runner;
  ScopedPluginCallRunner scoped(runner);
  ComposerParams params;
  params.Rotate = 5;
  for (const MethodRow& row : MethodRows()) {
    if (!row.Create || row.Type == kMethodTypePlugin) continue;
    SCOPED_TRACE(row.CliName);
    const Point cut = row.TakesOblongCut ? Point{64, 40} : Point{64, 64};
    const std::unique_ptr<ConversionMethod> builtIn = CreateMethodByType(row.Type, params);
    ASSERT_EQ(builtIn->Setup(cut, false, ProgramRandom()).number, 0);
    ASSERT_EQ(builtIn->Make(CoordinateCut(cut.x, cut.y)).number, 0);
    runner.method = builtIn.get();
    auto plugin = std::make_unique<PluginMethod>("built-in");
    ASSERT_EQ(plugin->Setup(cut, false, ProgramRandom()).number, 0);
    ASSERT_EQ(plugin->Make(CoordinateCut(cut.x, cut.y)).number, 0);
    EXPECT_EQ(plugin->Tile(), builtIn->Tile());
  }
}

TEST(PluginMethodRow, TheTableMakesThePluginWithTheFileNameOfTheParameters) {
  ComposerParams params;
  params.DllFileName = "C:\\プラグイン\\six.dll";
  std::unique_ptr<ConversionMethod> method = CreateMethodByType(kMethodTypePlugin, params);
  auto* plugin = dynamic_cast<PluginMethod*>(method.get());
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->FileName(), params.DllFileName);
  EXPECT_EQ(plugin->Area(), (Point{0, 0}));
  EXPECT_FALSE(plugin->TakesOblongCut());
}

}  // namespace
}  // namespace tessivane
