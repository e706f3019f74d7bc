#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"
#include "images/UImageShelf.h"

namespace tessivane {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// One picture of each format, in a folder and under names in Japanese,
// read through _wfopen and listed through FindFirstFileW.
TEST(JapaneseNames, EachFormatLoadsAndTheShelfFindsThem) {
  const fs::path folder = fs::temp_directory_path() / fs::u8path("テッシヴェーン画像");
  fs::remove_all(folder);
  fs::create_directories(folder);
  const Bitmap picture = testing::Pattern(12, 7);

  testing::BmpFile bmp;
  bmp.width = picture.Width();
  bmp.height = picture.Height();
  bmp.pixels = testing::BmpRows24(picture, false);
  const Bytes jpeg = testing::EncodeJpeg(picture);
  const std::pair<const char*, Bytes> files[] = {
      {"写真.bmp", bmp.Write()}, {"夕焼け.jpg", jpeg}, {"花火.png", testing::EncodePng(picture)}};
  for (const auto& [name, bytes] : files) WriteFile(folder / fs::u8path(name), bytes);

  EXPECT_EQ(LoadPicture(Utf8(folder / fs::u8path("写真.bmp"))), picture);
  EXPECT_EQ(LoadPicture(Utf8(folder / fs::u8path("花火.png"))), picture);
  EXPECT_EQ(LoadPicture(Utf8(folder / fs::u8path("夕焼け.jpg"))), DecodePicture(jpeg.data(), jpeg.size()));

  TImageShelf shelf(Utf8(folder));
  for (const auto& [name, bytes] : files) {
    const std::string full = Utf8(folder) + "\\" + name;
    EXPECT_EQ(std::count(shelf.Files().begin(), shelf.Files().end(), full), 1) << full;
  }
  Bitmap drawn;
  shelf.GetImage(drawn);
  EXPECT_EQ(drawn.Width(), picture.Width());
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tessivane
