#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <set>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#endif

// AddressSanitizer reserves far more address space than a limit allows.
#if defined(__SANITIZE_ADDRESS__)
#define TESSIVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSIVANE_ASAN 1
#endif
#endif

#include "base/FileSystem.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"
#include "images/FileListing.h"
#include "images/ImageShelf.h"
#include "support/TempFolder.h"

namespace tessivane {
namespace {

using testing::Bytes;
using testing::TempFolder;

std::string Separator() { return std::string(1, kPathDelimiter); }

TEST(ImageShelf, ListingKeepsDotEntriesAndGivesEveryOneItsFullPath) {
  TempFolder folder("tessivane-shelf-listing");
  folder.Write("a.JPG", testing::EncodeJpeg(testing::Pattern(8, 8)));
  folder.Write("notes.txt", {'h', 'i'});
  ImageShelf shelf(folder.Path());
  std::multiset<std::string> files(shelf.Files().begin(), shelf.Files().end());
  const std::string prefix = folder.Path() + Separator();
  EXPECT_EQ(files, (std::multiset<std::string>{prefix + "a.JPG", prefix + "notes.txt", prefix + ".",
                                               prefix + ".."}));

  // A folder name that already ends in the delimiter gives a doubled one.
  ImageShelf again(folder.Path() + Separator());
  EXPECT_EQ(std::count(again.Files().begin(), again.Files().end(),
                       folder.Path() + Separator() + Separator() + "a.JPG"),
            1);
}

TEST(ImageShelf, GetImageDropsWhatDoesNotLoadAndEndsWithThePicture) {
  TempFolder folder("tessivane-shelf-draw");
  const Bitmap picture = testing::Pattern(8, 8);
  folder.Write("a.JPG", testing::EncodeJpeg(picture));
  folder.Write("notes.txt", {'h', 'i'});
  const Bitmap expected = LoadPicture(folder.Path() + Separator() + "a.JPG");
  for (uint32_t seed = 0; seed < 20; ++seed) {
    ScopedSeedSource fixed(FixedSeed(seed * 0x9E3779B9u));
    ImageShelf shelf(folder.Path());
    Bitmap bitmap;
    shelf.GetImage(bitmap, ProgramRandom());
    EXPECT_EQ(bitmap, expected);
  }
}

// Entries were opened by their bare name, relative to the current folder:
// a folder holding only "notes.txt", drawn from while the current folder
// held a picture of that name, showed that picture.
TEST(ImageShelf, EntriesAreOpenedInTheirFolderNotTheCurrentOne) {
  TempFolder chosen("tessivane-shelf-chosen");
  chosen.Write("notes.txt", {'h', 'i'});
  TempFolder current("tessivane-shelf-current");
  current.Write("notes.txt", testing::EncodePng(testing::Pattern(8, 8)));
  struct CurrentFolder {
    std::filesystem::path before = std::filesystem::current_path();
    ~CurrentFolder() { std::filesystem::current_path(before); }
  } restore;
  std::filesystem::current_path(std::filesystem::u8path(current.Path()));
  for (uint32_t seed = 0; seed < 8; ++seed) {
    ScopedSeedSource fixed(FixedSeed(seed * 0x9E3779B9u));
    ImageShelf shelf(chosen.Path());
    Bitmap bitmap;
    try {
      shelf.GetImage(bitmap, ProgramRandom());
      ADD_FAILURE() << "a picture from outside the folder was shown";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "イメージファイルが存在しません。");
    }
  }
}

TEST(ImageShelf, FreshShelvesMayDrawDifferentPictures) {
  TempFolder folder("tessivane-shelf-two");
  Bitmap red(4, 4), blue(4, 4);
  red.Fill(0, 0, 255);
  blue.Fill(255, 0, 0);
  folder.Write("red.png", testing::EncodePng(red));
  folder.Write("blue.png", testing::EncodePng(blue));
  std::set<uint32_t> seen;
  for (uint32_t seed = 0; seed < 20; ++seed) {
    ScopedSeedSource fixed(FixedSeed(seed * 0x9E3779B9u));
    ImageShelf shelf(folder.Path());
    Bitmap bitmap;
    shelf.GetImage(bitmap, ProgramRandom());
    seen.insert(bitmap.PixelRgb(0, 0));
  }
  EXPECT_EQ(seen, (std::set<uint32_t>{0xFF0000, 0x0000FF}));
}

TEST(ImageShelf, ContentDecidesTheFormatNotTheName) {
  TempFolder folder("tessivane-shelf-content");
  const Bitmap picture = testing::Pattern(8, 8);
  folder.Write("photo.bmp", testing::EncodeJpeg(picture));  // JPEG data named .bmp
  ImageShelf shelf(folder.Path());
  Bitmap bitmap;
  shelf.GetImage(bitmap, ProgramRandom());
  EXPECT_EQ(bitmap.Width(), 8);
  EXPECT_EQ(bitmap, LoadPicture(folder.Path() + Separator() + "photo.bmp"));
}

// A folder that does not exist was taken for one holding no picture.
TEST(ImageShelf, NothingLoadableAndNoFolderEachHaveTheirOwnError) {
  TempFolder folder("tessivane-shelf-damaged");
  Bytes damaged = testing::EncodePng(testing::Pattern(8, 8));
  damaged.resize(damaged.size() / 2);
  folder.Write("only.png", damaged);
  const std::string none = "イメージファイルフォルダが見つかりません。";
  const std::pair<std::string, std::string> cases[] = {
    {folder.Path(), "イメージファイルが存在しません。"},
    {folder.Path() + Separator() + "missing", none},
#if defined(_WIN32)
    {"NUL", none},
#endif
  };
  for (const auto& [name, message] : cases) {
    try {
      ImageShelf shelf(name);
      Bitmap bitmap;
      shelf.GetImage(bitmap, ProgramRandom());
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(e.what(), message) << name;
    }
  }
}

#if !defined(_WIN32) && !defined(TESSIVANE_ASAN)
// A picture file too large for the memory left ended the whole folder draw
// with the allocation failure instead of being dropped like any other file
// that does not load.
TEST(ImageShelf, FileTooLargeForTheMemoryLeftIsDroppedLikeAnyOther) {
  TempFolder folder("tessivane-shelf-memory");
  const std::string huge = folder.Write("huge.bmp", {'B', 'M'});
  std::filesystem::resize_file(std::filesystem::u8path(huge),
                               uintmax_t{256} << 20);  // sparse: takes no disk space
  const auto drawWithLittleMemory = [&] {
    // Address space for what the process holds now plus 64 MiB: the file
    // cannot be read into memory.
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
      std::fclose(statm);
    }
    if (pages == 0) std::exit(2);
    const rlim_t limit = static_cast<rlim_t>(pages) * 4096 + (rlim_t{64} << 20);
    const rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_AS, &rl) != 0) std::exit(2);
    ImageShelf shelf(folder.Path());
    Bitmap bitmap;
    try {
      shelf.GetImage(bitmap, ProgramRandom());
    } catch (const std::runtime_error& e) {
      std::exit(std::string(e.what()) == "イメージファイルが存在しません。" && shelf.Files().empty() ? 0 : 3);
    } catch (...) {
      std::exit(4);
    }
    std::exit(5);
  };
  EXPECT_EXIT(drawWithLittleMemory(), ::testing::ExitedWithCode(0), "");
}
#endif

#if !defined(_WIN32)
// A folder that exists but could not be listed (here: no file descriptor
// left to open it with) was taken for one holding no picture.
TEST(ImageShelf, FolderThatCannotBeListedSaysSoInsteadOfNoPicture) {
  TempFolder folder("tessivane-shelf-unlistable");
  folder.Write("a.bmp", testing::Rgb24(testing::Pattern(8, 8)).Write());
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
  rlimit low = before;
  low.rlim_cur = std::min<rlim_t>(before.rlim_cur, 256);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> held;
  for (int fd; (fd = open("/dev/null", O_RDONLY)) >= 0;) held.push_back(fd);
  // The error is looked at only once the descriptors are back: with none
  // left, the sanitizer's type check of the exception cannot work.
  std::exception_ptr caught;
  try {
    ImageShelf shelf(folder.Path());
  } catch (...) {
    caught = std::current_exception();
  }
  for (int fd : held) close(fd);
  setrlimit(RLIMIT_NOFILE, &before);
  std::string error;
  try {
    if (caught) std::rethrow_exception(caught);
  } catch (const std::runtime_error& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "フォルダの内容を読み取れません。");
}
#endif

TEST(ImageShelf, EmptyFolderNameIsARangeError) {
  std::vector<std::string> list;
  try {
    ListFiles("", &list);
    ADD_FAILURE() << "no error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "範囲チェックエラー");
  }
  EXPECT_THROW(ImageShelf(""), std::out_of_range);
  EXPECT_NO_THROW(ListFiles("", nullptr));  // no list: nothing happens
}

TEST(ImageShelf, UnicodeNamesLoad) {
  TempFolder folder("tessivane-shelf-unicode-名前");
  const std::string path = folder.Write("写真 ☃.png", testing::EncodePng(testing::Pattern(5, 4)));
  EXPECT_EQ(LoadPicture(path), testing::Pattern(5, 4));
  ImageShelf shelf(folder.Path());
  Bitmap bitmap;
  shelf.GetImage(bitmap, ProgramRandom());
  EXPECT_EQ(bitmap, testing::Pattern(5, 4));
}

}  // namespace
}  // namespace tessivane
