#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"

namespace tessivane {
namespace {

using testing::Bytes;

// Decodes, accepting a picture or a PictureError; anything else (another
// exception, a crash under the sanitizers) fails the test.
void DecodeOrRefuse(const Bytes& file) {
  try {
    Bitmap b = DecodePicture(file.data(), file.size());
    EXPECT_FALSE(b.Empty());
  } catch (const PictureError&) {
  }
}

TEST(PictureRobustness, EverySeedDecodes) {
  for (const auto& [name, file] : testing::SeedFiles()) {
    SCOPED_TRACE(name);
    EXPECT_NO_THROW(DecodePicture(file.data(), file.size()));
  }
}

TEST(PictureRobustness, EveryPrefixOfEverySeedGivesAPictureOrAnError) {
  for (const auto& [name, file] : testing::SeedFiles()) {
    SCOPED_TRACE(name);
    for (size_t n = 0; n < file.size(); ++n) DecodeOrRefuse(Bytes(file.begin(), file.begin() + n));
  }
}

TEST(PictureRobustness, EveryByteOfEverySeedCorrupted) {
  for (const auto& [name, file] : testing::SeedFiles()) {
    SCOPED_TRACE(name);
    for (size_t i = 0; i < file.size(); ++i)
      for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(file[i] ^ 0x80), uint8_t(file[i] + 1)}) {
        Bytes damaged = file;
        damaged[i] = value;
        DecodeOrRefuse(damaged);
      }
  }
}

TEST(PictureRobustness, UnknownFormatsAndUnreadableFilesAreRefused) {
  const std::string text = "just some words";
  EXPECT_THROW(DecodePicture(reinterpret_cast<const uint8_t*>(text.data()), text.size()), PictureError);
  EXPECT_THROW(DecodePicture(nullptr, 0), PictureError);
  EXPECT_THROW(LoadPicture("no such file.png"), PictureError);
  const auto folder = std::filesystem::temp_directory_path() / "tessivane-codecs-folder.png";
  std::filesystem::create_directories(folder);
  EXPECT_THROW(LoadPicture(folder.string()), PictureError);
  std::filesystem::remove(folder);
#if !defined(_WIN32)
  // A named pipe with a picture's name must not stall the loader.
  const auto pipe = std::filesystem::temp_directory_path() / "tessivane-codecs-pipe.png";
  std::filesystem::remove(pipe);
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_THROW(LoadPicture(pipe.string()), PictureError);
  std::filesystem::remove(pipe);
#endif
}

}  // namespace
}  // namespace tessivane
