#include "render/Render.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "base/Errors.h"
#include "pattern/FloralMethod.h"
#include "pattern/KaleidoscopeMethod.h"
#include "codecs/PictureLoader.h"
#include "render/PngFile.h"
#include "support/TempFolder.h"

namespace tessivane::render {
namespace {

namespace fs = std::filesystem;

class RenderTest : public ::testing::Test {
protected:
  std::string File(const std::string& name) const { return folder_.File(name); }

  static std::string Bytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static RenderOptions Options(std::vector<std::string> args) { return ParseRenderOptions(args); }
  // The error line of a failing run.
  static std::string ErrorOf(const RenderOptions& o) {
    try {
      Render(o);
    } catch (const RenderError& e) {
      return e.what();
    }
    return "";
  }

  // A folder of the test's own, so that runs in parallel do not meet.
  static std::string FolderName() {
    const ::testing::UnitTest& test = *::testing::UnitTest::GetInstance();
    return "tessivane-render-" + std::to_string(test.random_seed()) + "-" + test.current_test_info()->name();
  }
  tessivane::testing::TempFolder folder_{FolderName()};
};

// A cut whose pixels all differ, so that any misplaced pixel shows.
Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelRgb(x, y, (uint32_t(x) << 16) | (uint32_t(y) << 8) | uint32_t((x * y) & 255));
  return b;
}

Bitmap ReadBack(const std::string& name) {
  Bitmap b;
  return LoadPicture(name);
}

TEST_F(RenderTest, CutWritesExactlyTheUnitsTile) {
  WritePng(Gradient(64, 64), File("cut.png"));
  Render(Options({"--method", "floral", "--cut", File("cut.png"), File("tile.png")}));
  auto unit = std::make_unique<FloralMethod>();
  ASSERT_EQ(unit->Setup({64, 64}, false, ProgramRandom()).number, 0);
  ASSERT_EQ(unit->Make(Gradient(64, 64)).number, 0);
  EXPECT_EQ(ReadBack(File("tile.png")), unit->Tile());
}

TEST_F(RenderTest, CutOfTheWrongSizeGivesTheUnitsError) {
  WritePng(Gradient(33, 33), File("odd.png"));
  std::string error = ErrorOf(Options({"--method", "kaleidoscope", "--cut", File("odd.png"), File("t.png")}));
  EXPECT_EQ(error.rfind(OneLine(FormatUnitError(4, "")), 0), 0u) << error;
  WritePng(Gradient(300, 40), File("wide.png"));
  error = ErrorOf(Options({"--method", "rectangle", "--cut", File("wide.png"), File("t.png")}));
  EXPECT_EQ(error.rfind(OneLine(FormatUnitError(1, "")), 0), 0u) << error;
  WritePng(Gradient(64, 40), File("oblong.png"));
  error = ErrorOf(Options({"--method", "spiral", "--cut", File("oblong.png"), File("t.png")}));
  EXPECT_EQ(error, "this method takes a square cut, not 64x40");
  EXPECT_FALSE(fs::exists(File("t.png")));
  // The distorted square works on the disc of the shorter side.
  Render(Options({"--method", "distorted", "--cut", File("oblong.png"), File("t.png")}));
  EXPECT_TRUE(fs::exists(File("t.png")));
}

TEST_F(RenderTest, FailuresWriteNothing) {
  WritePng(Gradient(40, 40), File("small.png"));
  // 1.5 x the cut (96) is more than the picture: error 5, on one line.
  std::string error = ErrorOf(Options({"--source", File("small.png"), "--size", "16", File("f.png")}));
  EXPECT_EQ(error.rfind(OneLine(FormatUnitError(5, "")), 0), 0u) << error;
  EXPECT_NE(error.find("small.png"), std::string::npos) << "the picture's name travels with the error";
  EXPECT_EQ(error.find('\n'), std::string::npos);
  error = ErrorOf(Options({"--source", File("missing.png"), File("f.png")}));
  EXPECT_NE(error.find("cannot read picture"), std::string::npos) << error;
  std::ofstream(File("junk.png")) << "not a picture";
  error = ErrorOf(Options({"--cut", File("junk.png"), File("f.png")}));
  EXPECT_NE(error.find("cannot read picture"), std::string::npos) << error;
  error = ErrorOf(Options({"--method", "99", File("f.png")}));
  EXPECT_EQ(error.rfind(OneLine(FormatUnitError(6, "")), 0), 0u) << error;
  EXPECT_FALSE(fs::exists(File("f.png")));
  EXPECT_NE(ErrorOf(Options({"--screen", "64x64", File("no/such/f.png")})), "");
  const fs::directory_iterator left(folder_.Native());
  EXPECT_EQ(std::distance(left, fs::directory_iterator()), 2);  // the two inputs
}

TEST_F(RenderTest, PictureFileAndFolderSources) {
  fs::create_directories(folder_.Native() / "pictures");
  WritePng(Gradient(100, 80), File("pictures/only.png"));
  Bitmap fromFile, fromFolder;
  RenderEach(Options({"--seed", "1", "--source", File("pictures/only.png"), "--screen", "120x90", "x.png"}),
             [&](const Bitmap& b, int) { fromFile = b; });
  RenderEach(Options({"--seed", "1", "--source", File("pictures"), "--screen", "120x90", "x.png"}),
             [&](const Bitmap& b, int) { fromFolder = b; });
  EXPECT_EQ(fromFile.Width(), 120);
  EXPECT_EQ(fromFile, fromFolder);
  fs::create_directories(folder_.Native() / "empty");
  EXPECT_NE(ErrorOf(Options({"--source", File("empty"), File("f.png")})).find("no picture from folder"),
            std::string::npos);
}

TEST_F(RenderTest, SameOptionsSameBytes) {
  for (const char* method : {"kaleidoscope", "spiral", "random"}) {
    RenderOptions o = Options({"--seed", "99", "--method", method, "--shuffle", "--brightness", "--motion",
                               "curve", "--screen", "200x150", File("a.png")});
    Render(o);
    o.out = File("b.png");
    Render(o);
    EXPECT_EQ(Bytes(File("a.png")), Bytes(File("b.png"))) << method;
    EXPECT_GT(Bytes(File("a.png")).size(), 100u);
  }
}

TEST_F(RenderTest, FramesAndTiles) {
  std::vector<Bitmap> pictures;
  RenderOptions o = Options({"--seed", "3", "--screen", "300x200", "--frames", "3", "f%d.png"});
  RenderEach(o, [&](const Bitmap& b, int n) {
    EXPECT_EQ(n, static_cast<int>(pictures.size()) + 1);
    pictures.push_back(b);
  });
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[0].Width(), 300);
  EXPECT_EQ(pictures[0].Height(), 200);
  EXPECT_FALSE(pictures[0] == pictures[1]);  // the sampling position moves
  o.tile = true;
  o.frames = 1;
  int tiles = 0;
  RenderEach(o, [&](const Bitmap& b, int) {
    ++tiles;
    EXPECT_EQ(b.Width(), 96);  // the kaleidoscope tile of a 32-pixel cut
    EXPECT_EQ(b.Height(), 54);
    // The frame is that tile repeated.
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) ASSERT_EQ(pictures[0].PixelRgb(x, y), b.PixelRgb(x % 96, y % 54));
  });
  EXPECT_EQ(tiles, 1) << "the tile run hands over one picture";
  Render(Options({"--seed", "3", "--screen", "64x48", "--frames", "2", File("f%02d.png")}));
  EXPECT_TRUE(fs::exists(File("f01.png")));
  EXPECT_TRUE(fs::exists(File("f02.png")));
}

// With a folder and --fade 1 (ten frames at the default 10 ms), the tile
// goes from one picture's colour to the other's after the first frame.
TEST_F(RenderTest, FadeFromAFoldersPictureToAnother) {
  fs::create_directories(folder_.Native() / "two");
  Bitmap solid(64, 64);
  WritePng(solid, File("two/black.png"));
  solid.Fill(255, 255, 255);
  WritePng(solid, File("two/white.png"));
  std::vector<uint32_t> c;
  RenderEach(
      Options({"--seed", "5", "--source", File("two"), "--fade", "1", "--tile", "--frames", "12", "f%d.png"}),
      [&](const Bitmap& b, int) { c.push_back(b.PixelRgb(0, 0)); });
  ASSERT_EQ(c.size(), 12u);
  EXPECT_TRUE((c[1] & 0xFF) > 0 && (c[1] & 0xFF) < 255) << "the fade's first frame is already a blend";
  EXPECT_TRUE((c[6] & 0xFF) > 0 && (c[6] & 0xFF) < 255) << "a blend";
  EXPECT_EQ(c[11], c[0] ^ 0xFFFFFFu) << "the other picture after the fade";
}

}  // namespace
}  // namespace tessivane::render
