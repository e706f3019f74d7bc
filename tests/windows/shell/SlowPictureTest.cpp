// The saver while a large first picture decodes: the window is up at
// once, shows its background, and a key ends the run long before the
// picture would have been ready.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "SaverHarness.h"
#include "SaverTimes.h"
#include "base/Utf.h"
#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"

namespace tessivane::test {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(SlowFirstPicture, WindowIsUpAndAKeyEndsTheRunWhileThePictureDecodes) {
  DeleteProductKey();
  TempFolder folder;
  const std::wstring path = folder.File(L"large.jpg");
  {
    testing::JpegOptions options;
    options.progressive = true;
    options.quality = 95;
    const testing::Bytes jpeg = testing::EncodeJpeg(testing::Pattern(9000, 9000), options);
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  }
  // How long the decode takes here, in this process.
  const auto decodeStart = Clock::now();
  ASSERT_EQ(LoadPicture(Narrow(path)).Width(), 9000);
  const long long decodeMs = MsSince(decodeStart);
  ASSERT_GE(decodeMs, 1000) << "the picture must be slow to decode for this test to mean anything";

  for (const wchar_t* fileType : {L"2", L"3"}) {
    PutSetting("Settings", "FileType", fileType);
    PutSetting("Settings", "BmpFileName", path);
    PutSetting("Settings", "ImageFolderName", folder.Path());
    SetCursorPos(300, 300);
    const auto start = Clock::now();
    SaverProcess saver(L"/s");
    HWND wnd = saver.WaitForWindow(L"SaverWindow", kStartBound);
    ASSERT_NE(wnd, nullptr);
    const long long shownMs = MsSince(start);
    PumpFor(200);
    const Shot shot = Capture(wnd);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(shot.OneColour() &&
                shot.pixels.front() ==
                    static_cast<uint32_t>(GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face)))
        << "the background until the first frame";
    const auto keyAt = Clock::now();
    PostKey(wnd, VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(kExitBound));
    const long long exitMs = MsSince(keyAt);
    EXPECT_LT(exitMs * 2, decodeMs) << "decode " << decodeMs << " ms, window after " << shownMs << " ms";
    std::printf("FileType %ls: decode %lld ms, window after %lld ms, exit %lld ms after the key\n", fileType,
                decodeMs, shownMs, exitMs);
  }
  DeleteProductKey();
}

}  // namespace
}  // namespace tessivane::test
