#include <gtest/gtest.h>

#include <algorithm>

#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"
#include "images/ImageShelf.h"
#include "support/TempFolder.h"

namespace tessivane {
namespace {

using testing::Bytes;
using testing::TempFolder;

// One picture of each format, in a folder and under names in Japanese,
// read through _wfopen and listed through FindFirstFileW.
TEST(JapaneseNames, EachFormatLoadsAndTheShelfFindsThem) {
  const TempFolder folder("テッシヴェーン画像");
  const Bitmap picture = testing::Pattern(12, 7);

  const Bytes jpeg = testing::EncodeJpeg(picture);
  const std::pair<const char*, Bytes> files[] = {{"写真.bmp", testing::Rgb24(picture).Write()},
                                                 {"夕焼け.jpg", jpeg},
                                                 {"花火.png", testing::EncodePng(picture)}};
  for (const auto& [name, bytes] : files) folder.Write(name, bytes);

  EXPECT_EQ(LoadPicture(folder.File("写真.bmp")), picture);
  EXPECT_EQ(LoadPicture(folder.File("花火.png")), picture);
  EXPECT_EQ(LoadPicture(folder.File("夕焼け.jpg")), testing::Decode(jpeg));

  ImageShelf shelf(folder.Path());
  for (const auto& [name, bytes] : files) {
    const std::string full = folder.Path() + "\\" + name;
    EXPECT_EQ(std::count(shelf.Files().begin(), shelf.Files().end(), full), 1) << full;
  }
  Bitmap drawn;
  shelf.GetImage(drawn, ProgramRandom());
  EXPECT_EQ(drawn.Width(), picture.Width());
}

// Pictures larger than one read: the decoders seek and read the file in
// pieces through the wide-character open.
TEST(JapaneseNames, LargePicturesAreReadInPieces) {
  const TempFolder folder("テッシヴェーン大きな画像");
  const Bitmap picture = testing::Pattern(400, 300);
  testing::JpegOptions progressive;
  progressive.progressive = true;
  const Bytes jpeg = testing::EncodeJpeg(picture, progressive);
  folder.Write("大きな写真.bmp", testing::Rgb24(picture).Write());
  folder.Write("大きな花火.png", testing::EncodePng(picture, true));
  folder.Write("大きな夕焼け.jpg", jpeg);
  EXPECT_EQ(LoadPicture(folder.File("大きな写真.bmp")), picture);
  EXPECT_EQ(LoadPicture(folder.File("大きな花火.png")), picture);
  EXPECT_EQ(LoadPicture(folder.File("大きな夕焼け.jpg")), testing::Decode(jpeg));
}

}  // namespace
}  // namespace tessivane
