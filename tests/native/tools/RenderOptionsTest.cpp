#include "render/RenderOptions.h"

#include <gtest/gtest.h>

namespace tessivane::render {
namespace {

RenderOptions Parse(std::vector<std::string> args) { return ParseRenderOptions(args); }

TEST(RenderOptions, DefaultsAreTheSaverDefaults) {
  RenderOptions o = Parse({"out.png"});
  EXPECT_EQ(o.out, "out.png");
  EXPECT_EQ(o.unitType, 1);
  EXPECT_EQ(o.size, 8);
  EXPECT_EQ(o.rotate, 3);
  EXPECT_EQ(o.speed, 3);
  EXPECT_EQ(o.motion, 0);
  EXPECT_EQ(o.source, "random");
  EXPECT_EQ(o.screenWidth, 1280);
  EXPECT_EQ(o.screenHeight, 720);
  EXPECT_EQ(o.frames, 1);
  EXPECT_FALSE(o.seed.has_value());
}

TEST(RenderOptions, EveryOption) {
  RenderOptions o =
      Parse({"--method", "spiral",    "--size",     "64",     "--aspect",     "-5",       "--rotate",
             "20",       "--shuffle", "--blur",     "--mono", "--brightness", "--source", "pic.png",
             "--motion", "slideshow", "--speed",    "10",     "--screen",     "3x2",      "--frames",
             "4",        "--seed",    "4294967295", "--tile", "f%03d.png"});
  EXPECT_EQ(o.unitType, 11);
  EXPECT_EQ(o.size, 64);
  EXPECT_EQ(o.aspect, -5);
  EXPECT_EQ(o.rotate, 20);
  EXPECT_TRUE(o.shuffle && o.blur && o.mono && o.brightness && o.tile);
  EXPECT_EQ(o.source, "pic.png");
  EXPECT_EQ(o.motion, 2);
  EXPECT_EQ(o.speed, 10);
  EXPECT_EQ(o.screenWidth, 3);
  EXPECT_EQ(o.screenHeight, 2);
  EXPECT_EQ(o.frames, 4);
  EXPECT_EQ(*o.seed, 4294967295u);
  const struct {
    const char* name;
    int type;
  } methods[] = {{"kaleidoscope", 1}, {"carpet", 2},  {"tablecloth", 3}, {"tile", 4},
                 {"rectangle", 5},    {"none", 6},    {"floral", 7},     {"random", 8},
                 {"distorted", 10},   {"spiral", 11}, {"9", 9},          {"0", 0}};
  for (const auto& m : methods) EXPECT_EQ(Parse({"--method", m.name, "o.png"}).unitType, m.type) << m.name;
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(RenderOptions, BadCommandLinesSayWhy) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--bogus", "o.png"},
      {"--method", "mosaic", "o.png"},
      {"--method", "256", "o.png"},
      {"--size", "7", "o.png"},
      {"--size", "65", "o.png"},
      {"--size", "8x", "o.png"},
      {"--size", "", "o.png"},
      {"--aspect", "6", "o.png"},
      {"--rotate", "1", "o.png"},
      {"--speed", "0", "o.png"},
      {"--motion", "wobble", "o.png"},
      {"--screen", "1280", "o.png"},
      {"--screen", "0x10", "o.png"},
      {"--screen", "16385x10", "o.png"},
      {"--frames", "0", "f%d.png"},
      {"--frames", "2", "f.png"},
      {"--frames", "2", "f%d%d.png"},
      {"--frames", "2", "f%s.png"},
      {"--frames", "2", "f%10d.png"},
      {"--seed", "-1", "o.png"},
      {"--seed", "4294967296", "o.png"},
      {"--size"},
      {"a.png", "b.png"},
      {"--cut", "c.png", "--frames", "2", "f%d.png"},
  };
  for (const auto& args : bad) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    try {
      Parse(args);
      ADD_FAILURE() << "accepted: " << line;
    } catch (const RenderError& e) {
      std::string what = e.what();
      EXPECT_FALSE(what.empty()) << line;
      EXPECT_EQ(what.find('\n'), std::string::npos) << line;
    }
  }
}

TEST(RenderOptions, FrameNames) {
  EXPECT_EQ(FrameFileName("f%03d.png", 7), "f007.png");
  EXPECT_EQ(FrameFileName("f%3d.png", 7), "f  7.png");
  EXPECT_EQ(FrameFileName("%d", 1234), "1234");
  EXPECT_EQ(FrameFileName("100%%-%02d.png", 3), "100%-03.png");
  EXPECT_THROW(FrameFileName("f%%.png", 1), RenderError);
}

}  // namespace
}  // namespace tessivane::render
