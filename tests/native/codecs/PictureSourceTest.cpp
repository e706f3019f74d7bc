// Pictures are read in pieces: the first bytes decide the format, then
// each decoder reads what it needs, so a load holds the bitmap, not the
// file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "base/Texts.h"
#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"
#include "support/TempFolder.h"

namespace tessivane {
namespace {

using testing::Bytes;

constexpr uint8_t kSof[] = {0xFF, 0xC0};  // a baseline JPEG's frame header

// A source that counts what is read from it. Without `bytes` it is a
// file of `size` bytes that all read as `fill`, held nowhere.
class CountingSource : public PictureSource {
public:
  explicit CountingSource(const Bytes& bytes) : bytes_(&bytes), size_(bytes.size()) {}
  CountingSource(uint64_t size, uint8_t fill) : size_(size), fill_(fill) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    if (offset >= size_) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
    if (bytes_)
      std::memcpy(out, bytes_->data() + offset, n);
    else
      std::memset(out, fill_, n);
    bytesRead += n;
    largestRead = std::max(largestRead, n);
    return n;
  }
  uint64_t bytesRead = 0;
  size_t largestRead = 0;

private:
  const Bytes* bytes_ = nullptr;
  uint64_t size_;
  uint8_t fill_ = 0;
};

TEST(PictureSource, EveryFormatIsReadInPiecesAboutOnce) {
  const Bitmap picture = testing::Pattern(1500, 1000);
  testing::JpegOptions progressive;
  progressive.progressive = true;
  testing::BmpFile rle;  // RLE8 runs of 250 pixels, four to a row
  rle.width = 1000;
  rle.height = 1000;
  rle.bitCount = 8;
  rle.compression = 1;
  rle.colorsUsed = 256;
  for (uint32_t i = 0; i < 256; ++i) rle.palette.push_back(i * 0x010101);
  for (int y = 0; y < rle.height; ++y) {
    for (int run = 0; run < 4; ++run)
      rle.pixels.insert(rle.pixels.end(), {250, static_cast<uint8_t>(y + run)});
    rle.pixels.insert(rle.pixels.end(), {0, 0});
  }
  rle.pixels.insert(rle.pixels.end(), {0, 1});
  const std::pair<const char*, Bytes> files[] = {
      {"bmp", testing::Rgb24(picture).Write()},
      {"rle", rle.Write()},
      {"jpeg", testing::EncodeJpeg(picture, progressive)},
      {"png", testing::EncodePng(picture)},
      {"interlaced png", testing::EncodePng(picture, true)},
  };
  for (const auto& [name, file] : files) {
    SCOPED_TRACE(name);
    CountingSource source(file);
    const Bitmap decoded = DecodePicture(source);
    EXPECT_EQ(decoded, DecodePicture(file.data(), file.size()));
    EXPECT_LE(source.largestRead, size_t{64} * 1024);
    // The JPEG and PNG markers are walked once before the library reads.
    EXPECT_LE(source.bytesRead, 2 * file.size() + 256 * 1024) << file.size();
  }
  // The last run of the top row (written last, read across many buffers).
  EXPECT_EQ(DecodePicture(files[1].second.data(), files[1].second.size()).PixelRgb(999, 0), 0xEAEAEAu);
}

TEST(PictureSource, AnUnknownFileIsRefusedFromItsFirstBytes) {
  CountingSource text(uint64_t{400} << 20, 'x');
  EXPECT_THROW(DecodePicture(text), PictureError);
  EXPECT_LE(text.bytesRead, 8u);
}

// A source whose memory runs out once reading passes `limit`.
class ExhaustedSource : public CountingSource {
public:
  ExhaustedSource(const Bytes& bytes, uint64_t limit) : CountingSource(bytes), limit_(limit) {}
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    if (offset + count > limit_) throw std::bad_alloc();
    return CountingSource::ReadAt(offset, out, count);
  }

private:
  uint64_t limit_;
};

TEST(PictureSource, RunningOutOfMemoryIsNotADamagedPicture) {
  const Bytes bmp = testing::Rgb24(testing::Pattern(40, 30)).Write();
  ExhaustedSource exhausted(bmp, 2048);  // the headers load, the rows do not
  EXPECT_THROW(DecodePicture(exhausted), PictureOutOfMemory);
  const Bytes cut(bmp.begin(), bmp.end() - 100);
  try {
    DecodePicture(cut.data(), cut.size());
    ADD_FAILURE() << "a truncated picture decoded";
  } catch (const PictureOutOfMemory&) {
    ADD_FAILURE() << "a truncated picture was taken for a lack of memory";
  } catch (const PictureError&) {
  }
}

// Every way a picture is refused is one of a few failures, and the user
// reads its catalog text in the display language; the library's own
// words follow on a line of their own only where they tell more.
TEST(PictureFailures, EachRefusalIsAFailureWithItsCatalogText) {
  testing::TempFolder folder("tessivane-failures");
  const Bytes jpeg = testing::EncodeJpeg(testing::Pattern(16, 8));
  const size_t sof = std::search(jpeg.begin(), jpeg.end(), kSof, kSof + 2) - jpeg.begin();
  Bytes emptyJpeg = jpeg, deepJpeg = jpeg;
  emptyJpeg[sof + 5] = emptyJpeg[sof + 6] = 0;  // no rows
  deepJpeg[sof + 4] = 12;                       // 12-bit samples
  Bytes badCrcPng = testing::EncodePng(testing::Pattern(9, 9));
  badCrcPng[badCrcPng.size() - 20] ^= 0x40;
  testing::BmpFile huge = testing::Rgb24(testing::Pattern(4, 4)), packed = huge;
  huge.width = huge.height = 20000;
  packed.compression = 9;
  const Bytes bmp = testing::Rgb24(testing::Pattern(40, 30)).Write();
  const auto decode = [](const Bytes& file) { return [file] { DecodePicture(file.data(), file.size()); }; };
  using F = PictureFailure;
  using T = TextId;
  const struct Case {
    const char* what;
    std::function<void()> load;
    PictureFailure failure;
    TextId text;
    bool libraryWords;
  } cases[] = {
      {"missing", [&] { LoadPicture(folder.File("gone.jpg")); }, F::kCannotOpen, T::kPictureCannotOpen, 0},
      {"a folder", [&] { LoadPicture(folder.Path()); }, F::kCannotOpen, T::kPictureCannotOpen, 0},
      {"text", decode(Bytes(40, 'x')), F::kNotAPicture, T::kPictureNotReadable, 0},
      {"BMP compression 9", decode(packed.Write()), F::kNotAPicture, T::kPictureNotReadable, 0},
      {"12-bit JPEG", decode(deepJpeg), F::kNotAPicture, T::kPictureNotReadable, 1},
      {"JPEG cut short", decode(Bytes(jpeg.begin(), jpeg.end() - 30)), F::kDamaged, T::kPictureDamaged, 0},
      {"JPEG head", decode(Bytes(jpeg.begin(), jpeg.begin() + sof)), F::kDamaged, T::kPictureDamaged, 0},
      {"JPEG without rows", decode(emptyJpeg), F::kDamaged, T::kPictureDamaged, 1},
      {"PNG with a bad CRC", decode(badCrcPng), F::kDamaged, T::kPictureDamaged, 1},
      {"BMP of 20000 x 20000", decode(huge.Write()), F::kTooLarge, T::kPictureTooLarge, 0},
      {"out of memory",
       [&] {
         ExhaustedSource s(bmp, 2048);
         DecodePicture(s);
       },
       F::kOutOfMemory, T::kOutOfMemory, 0},
  };
  for (const Language language : {Language::kJapanese, Language::kEnglish}) {
    SetLanguage(language);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      try {
        c.load();
        ADD_FAILURE() << "loaded";
      } catch (const PictureError& e) {
        EXPECT_EQ(e.Failure(), c.failure) << e.Reason();
        EXPECT_EQ(e.what(), Tr(c.text) + (c.libraryWords ? "\r\n" + e.Reason() : std::string()))
            << e.Reason();
        EXPECT_EQ(dynamic_cast<const PictureOutOfMemory*>(&e) != nullptr,
                  c.failure == PictureFailure::kOutOfMemory);
      }
    }
  }
  SetLanguage(Language::kJapanese);
}

#if defined(__linux__)
// The process's peak resident memory since the last reset, in KiB.
long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Resets the peak to what the process holds now; false where the system
// does not allow it.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

long CurrentKib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// A file of `size` bytes that takes no disk: `head`, then a hole.
void WriteSparse(const std::filesystem::path& path, const Bytes& head, uint64_t size) {
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
  }
  std::filesystem::resize_file(path, size);
}

// The memory a load takes on top of what the process held, in KiB.
long PeakGrowthOfLoading(const std::filesystem::path& path, std::string& error) {
  const long before = CurrentKib();
  try {
    LoadPicture(path.string());
  } catch (const PictureError& e) {
    error = e.Reason();
  }
  return PeakKib() - before;
}

TEST(LoadPicture, HoldsTheBitmapNotTheFile) {
  if (!ResetPeak()) GTEST_SKIP() << "the peak memory cannot be reset here";
  const auto folder = std::filesystem::temp_directory_path() / ("tessivane-peak-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);

  // 400 MB that are no picture: refused without being read.
  std::string error;
  WriteSparse(folder / "text.png", Bytes(16, 'x'), uint64_t{400} << 20);
  ASSERT_TRUE(ResetPeak());
  EXPECT_LT(PeakGrowthOfLoading(folder / "text.png", error), 32 * 1024);
  EXPECT_NE(error.find("not a BMP, JPEG or PNG picture"), std::string::npos) << error;

  // A black 24-bit BMP of 4000 x 3000 (36 MB of pixels): the load holds
  // the 36 MB bitmap and a few row buffers, not the file as well.
  testing::BmpFile black;
  black.width = 4000;
  black.height = 3000;
  black.sizeImage = 0;
  const Bytes header = black.Write();
  WriteSparse(folder / "black.bmp", header, header.size() + uint64_t{4000} * 3 * 3000);
  error.clear();
  ASSERT_TRUE(ResetPeak());
  const long growth = PeakGrowthOfLoading(folder / "black.bmp", error);
  EXPECT_EQ(error, "");
  EXPECT_LT(growth, 36 * 1024 + 16 * 1024);

  std::filesystem::remove_all(folder);
}
#endif

}  // namespace
}  // namespace tessivane
