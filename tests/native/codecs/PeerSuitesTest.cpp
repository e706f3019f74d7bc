// The third-party test suites beside the clone (../shared/testdata): BMP
// Suite, PngSuite and JPEG samples. Skipped where they are absent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "codecs/PictureLoader.h"

namespace tessivane {
namespace {

namespace fs = std::filesystem;

fs::path TestData() { return fs::path(TESSIVANE_SOURCE_ROOT) / ".." / "shared" / "testdata"; }

#define REQUIRE_TESTDATA(sub)                                                                               \
  if (!fs::exists(TestData() / sub)) GTEST_SKIP() << "no third-party test suite at " << (TestData() / sub); \
  static_assert(true)

std::string ErrorOf(const fs::path& file) {
  try {
    LoadPicture(file.string());
  } catch (const PictureError& e) {
    return e.Reason();
  }
  return {};
}

int MaxDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1000;
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < 3 * a.Width(); ++x) worst = std::max(worst, std::abs(a.Row(y)[x] - b.Row(y)[x]));
  return worst;
}

struct BmpCase {
  std::string bmp;
  std::vector<std::string> references;
};

std::vector<BmpCase> ReadReferenceMap() {
  std::vector<BmpCase> cases;
  std::ifstream in(TestData() / "bmpsuite" / "reference-map.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    BmpCase c;
    std::string refs;
    std::getline(fields, c.bmp, '\t');
    std::getline(fields, refs, '\t');
    std::istringstream list(refs);
    for (std::string r; list >> r;)
      if (r != "|" && r != "-") c.references.push_back(r);
    cases.push_back(c);
  }
  return cases;
}

// Smallest difference between the decoded BMP and any of its references.
int DifferenceToReferences(const Bitmap& decoded, const BmpCase& c) {
  int best = 1000;
  for (const auto& r : c.references)
    best = std::min(best, MaxDifference(decoded, LoadPicture((TestData() / "bmpsuite" / r).string())));
  return best;
}

// The questionable files we refuse, and why (docs/pictures.md lists them too).
const std::set<std::string> kRefusedQuestionable = {
    "q/pal1huffmsb.bmp",  // OS/2 Huffman 1D (fax) compression
    "q/rgb24rle24.bmp",   // OS/2 24-bit RLE
    "q/rgba64.bmp",       // 64 bits per pixel (fixed-point HDR)
};
// Loaded, but compared with a tolerance: channels wider than 8 bits, or
// narrower ones whose scaling the references round differently; a JPEG
// reference; run-length pictures that the suite says need not match.
const std::map<std::string, int> kTolerance = {
    {"q/rgb16-3103.bmp", 1},     {"q/rgb32-111110.bmp", 1}, {"q/rgb32-7187.bmp", 1},
    {"q/rgba32-1010102.bmp", 1}, {"q/rgba32-61754.bmp", 1}, {"q/rgba32-81284.bmp", 1},
    {"q/rgba16-1924.bmp", 1},    {"q/rgb24jpeg.bmp", 16},   {"q/pal4rlecut.bmp", 1000},
    {"q/pal8rlecut.bmp", 1000},
};

TEST(BmpSuite, GoodFilesMatchTheirReferencesExactly) {
  REQUIRE_TESTDATA("bmpsuite");
  int checked = 0;
  for (const auto& c : ReadReferenceMap()) {
    if (c.bmp.rfind("g/", 0) != 0) continue;
    SCOPED_TRACE(c.bmp);
    Bitmap decoded;
    ASSERT_NO_THROW(decoded = LoadPicture((TestData() / "bmpsuite" / c.bmp).string()));
    EXPECT_EQ(DifferenceToReferences(decoded, c), 0);
    ++checked;
  }
  EXPECT_EQ(checked, 27);
}

TEST(BmpSuite, BadFilesAreRefused) {
  REQUIRE_TESTDATA("bmpsuite");
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(TestData() / "bmpsuite" / "b")) {
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_NE(ErrorOf(entry.path()), "");
    ++checked;
  }
  EXPECT_EQ(checked, 20);
}

TEST(BmpSuite, QuestionableFilesLoadAndMatchOrAreRefusedAsListed) {
  REQUIRE_TESTDATA("bmpsuite");
  for (const auto& c : ReadReferenceMap()) {
    if (c.bmp.rfind("q/", 0) != 0) continue;
    SCOPED_TRACE(c.bmp);
    const fs::path file = TestData() / "bmpsuite" / c.bmp;
    if (kRefusedQuestionable.count(c.bmp)) {
      EXPECT_NE(ErrorOf(file), "");
      continue;
    }
    Bitmap decoded;
    ASSERT_NO_THROW(decoded = LoadPicture(file.string()));
    auto t = kTolerance.find(c.bmp);
    int tolerance = t == kTolerance.end() ? 0 : t->second;
    if (tolerance < 1000) {
      EXPECT_LE(DifferenceToReferences(decoded, c), tolerance);
    }
  }
}

TEST(PngSuite, ValidFilesDecodeAndCorruptOnesAreRefused) {
  REQUIRE_TESTDATA("pngsuite");
  int valid = 0, corrupt = 0;
  for (const auto& entry : fs::directory_iterator(TestData() / "pngsuite")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    SCOPED_TRACE(name);
    if (name[0] == 'x') {
      EXPECT_NE(ErrorOf(entry.path()), "");
      ++corrupt;
    } else {
      EXPECT_EQ(ErrorOf(entry.path()), "");
      ++valid;
    }
  }
  EXPECT_EQ(valid, 162);
  EXPECT_EQ(corrupt, 14);
}

TEST(JpegSamples, CodingVariantsAgreeAndOddFilesBehave) {
  REQUIRE_TESTDATA("jpeg");
  auto load = [](const char* name) { return LoadPicture((TestData() / "jpeg" / name).string()); };
  const Bitmap baseline = load("testimgint.jpg");
  EXPECT_EQ(baseline.Width(), 227);
  EXPECT_EQ(baseline.Height(), 149);
  EXPECT_EQ(load("testimgp.jpg"), baseline);
  EXPECT_EQ(load("testimgari.jpg"), baseline);
  EXPECT_LE(MaxDifference(load("testorig.jpg"), baseline), 40);

  const Bitmap gray = load("testimggray.jpg");
  EXPECT_EQ(gray.PixelRgb(100, 70) & 0xFF, (gray.PixelRgb(100, 70) >> 8) & 0xFF);

  EXPECT_NE(ErrorOf(TestData() / "jpeg" / "monkey12.jpg").find("precision 12"), std::string::npos);
}

TEST(JpegSamples, YcckSampleHasSensibleColours) {
  REQUIRE_TESTDATA("jpeg");
  // The word "RED" in red letters on black: inverted inks would give a
  // light background, a wrong transform a green or blue cast.
  const Bitmap cmyk = LoadPicture((TestData() / "jpeg" / "pil_sample_cmyk.jpg").string());
  ASSERT_EQ(cmyk.Width(), 100);
  ASSERT_EQ(cmyk.Height(), 100);
  int red = 0, black = 0, other = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint32_t rgb = cmyk.PixelRgb(x, y);
      const int r = rgb >> 16, g = (rgb >> 8) & 255, b = rgb & 255;
      if (r < 40 && g < 40 && b < 40)
        ++black;
      else if (r > 150 && g < 100 && b < 100)
        ++red;
      else if (g > r + 30 || b > r + 30)
        ++other;
    }
  EXPECT_GT(black, 7000);
  EXPECT_GT(red, 300);
  EXPECT_EQ(other, 0);
}

}  // namespace
}  // namespace tessivane
