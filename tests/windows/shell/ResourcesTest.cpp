// What Windows reads from Tessivane.scr without running it: the name in the
// screen-saver list, the icon, the manifest and the version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TessivaneVersion.h"
#include "base/Utf.h"

#include "SaverHarness.h"

namespace tessivane::test {
namespace {

TEST(Resources, NameIconManifestAndVersion) {
  const std::wstring path = SaverPath();
  ScopedModule scr(
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(scr);
  wchar_t name[64] = {};
  ASSERT_GT(LoadStringW(scr.get(), 1, name, 64), 0);
  EXPECT_STREQ(name, L"Tessivane");
  EXPECT_NE(FindResourceW(scr.get(), MAKEINTRESOURCEW(100), RT_GROUP_ICON), nullptr);
  EXPECT_NE(FindResourceW(scr.get(), MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(TESSIVANE_VERSION_MINOR, TESSIVANE_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, TESSIVANE_VERSION_PATCH)));
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\041104B0\\FileVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_EQ(std::wstring(text), Widen(TESSIVANE_VERSION_TEXT));
}

}  // namespace
}  // namespace tessivane::test
