// tessivane-render --plugin: the kit's example plug-ins as the method, with
// the composer and with --cut, and a plug-in's errors as the renderer's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pattern/MethodTable.h"
#include "base/Errors.h"
#include "codecs/PictureLoader.h"
#include "render/PngFile.h"
#include "render/Render.h"
#include "support/TempFolder.h"

namespace tessivane::render {
namespace {

namespace fs = std::filesystem;

std::string ExamplePlugin(const std::string& name) {
#if defined(_WIN32)
  return std::string(TESSIVANE_EXAMPLE_PLUGIN_DIR) + "/" + name + ".dll";
#else
  return std::string(TESSIVANE_EXAMPLE_PLUGIN_DIR) + "/" + name + ".so";
#endif
}

class RenderPluginTest : public ::testing::Test {
protected:
  std::string File(const std::string& name) const { return folder_.File(name); }
  static std::string ErrorOf(const std::vector<std::string>& args) {
    try {
      Render(ParseRenderOptions(args));
    } catch (const RenderError& e) {
      return e.what();
    }
    return "";
  }
  static Bitmap ReadBack(const std::string& name) { return LoadPicture(name); }
  tessivane::testing::TempFolder folder_{
      "tessivane-render-plugin-" +
      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};
};

TEST(RenderPluginOptions, PluginIsTheMethod) {
  RenderOptions o = ParseRenderOptions({"--plugin", "six.dll", "out.png"});
  EXPECT_EQ(o.unitType, kMethodTypePlugin);
  EXPECT_EQ(o.plugin, "six.dll");
  EXPECT_THROW(ParseRenderOptions({"--plugin", "six.dll", "--method", "tile", "out.png"}), RenderError);
  EXPECT_THROW(ParseRenderOptions({"--plugin", "", "out.png"}), RenderError);
}

TEST_F(RenderPluginTest, IdentityPluginGivesTheCutBackAndTheOthersTheirTileSizes) {
  Bitmap cut(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) cut.SetPixelRgb(x, y, uint32_t(x) << 16 | uint32_t(y) << 8 | 7);
  WritePng(cut, File("cut.png"));
  Render(
      ParseRenderOptions({"--plugin", ExamplePlugin("identity"), "--cut", File("cut.png"), File("t.png")}));
  EXPECT_EQ(ReadBack(File("t.png")), cut);

  // 64 x 64 cut: the hexagon maps 48 x 82 and mirrors both ways; the waves
  // map the cut and mirror one way.
  const struct {
    const char* name;
    int width, height;
  } examples[] = {{"hexagon", 94, 162}, {"waves_right", 126, 64}, {"waves_down", 64, 126}};
  for (const auto& example : examples) {
    Render(ParseRenderOptions(
        {"--plugin", ExamplePlugin(example.name), "--cut", File("cut.png"), File("t.png")}));
    const Bitmap tile = ReadBack(File("t.png"));
    EXPECT_EQ(tile.Width(), example.width) << example.name;
    EXPECT_EQ(tile.Height(), example.height) << example.name;
  }
}

TEST_F(RenderPluginTest, EveryExamplePluginDrawsFramesThroughTheComposer) {
  for (const char* name : {"identity", "hexagon", "waves_right", "waves_down"}) {
    Render(ParseRenderOptions({"--seed", "5", "--plugin", ExamplePlugin(name), "--screen", "320x200",
                               "--frames", "2", File("f%d.png")}));
    for (const char* frame : {"f1.png", "f2.png"}) {
      const Bitmap picture = ReadBack(File(frame));
      EXPECT_EQ(picture.Width(), 320) << name;
      int differing = 0;
      for (int x = 0; x < 320; ++x) differing += picture.PixelRgb(x, 100) != picture.PixelRgb(0, 100);
      EXPECT_GT(differing, 100) << name;
    }
  }
}

TEST_F(RenderPluginTest, PluginErrorsAreOneLineWithNumberAndDetailAndWriteNothing) {
  EXPECT_EQ(ErrorOf({"--method", "9", File("f.png")}), "the plug-in method takes its library: --plugin FILE");
  const std::string missing = File("missing.so");
  EXPECT_EQ(ErrorOf({"--plugin", missing, File("f.png")}),
            OneLine(FormatUnitError(kErrPluginLoad, DetailFile(missing))));
  fs::path text = fs::path(folder_.Native()) / "text.so";
  std::ofstream(text) << "no library";
  const std::string error = ErrorOf({"--plugin", File("text.so"), "--frames", "3", File("f%d.png")});
  EXPECT_EQ(error.rfind(OneLine(FormatUnitError(kErrPluginLoad, "")), 0), 0u) << error;
  EXPECT_FALSE(fs::exists(File("f.png")));
  EXPECT_FALSE(fs::exists(File("f1.png")));
}

}  // namespace
}  // namespace tessivane::render
