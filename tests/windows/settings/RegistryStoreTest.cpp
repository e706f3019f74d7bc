// The registry store itself: key names, the product key, failures.
#include <gtest/gtest.h>
#include <windows.h>

#include "RegistryHarness.h"
#include "base/Utf.h"
#include "settings/MusicSettings.h"
#include "settings/MainSettings.h"

namespace tessivane::testing {
namespace {

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST(RegistryStore, KeyNamesAndTextsKeepEveryUnicodeCharacter) {
  const std::string path = PrivateKeyPath();
  ASSERT_NE(Narrow(Widen(path)), std::string());
  {
    auto store = MakeRegistrySettingsStore(path);
    MusicSettings bgm(*store);
    bgm.File = "C:\\音楽\\Ünï ✓😀.mid";
  }
  // The key is found under its exact UTF-16 name, not a code-page copy.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (Widen(path) + L"\\BGM").c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  wchar_t data[64] = {};
  DWORD type = 0, size = sizeof data;
  EXPECT_EQ(RegQueryValueExW(key, L"File", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(data), L"C:\\\u97f3\u697d\\\u00dcn\u00ef \u2713\U0001F600.mid");
  EXPECT_EQ(size, (std::wstring(data).size() + 1) * sizeof(wchar_t));  // terminator included
  DeleteKeyTree(path);
}

TEST(RegistryStore, AKeyThatCannotBeCreatedGivesDefaultsAndFailsTheSave) {
  // A key name longer than the registry allows.
  const std::string path = "Software\\Qel\\TessivaneTest\\" + std::string(300, 'k');
  auto store = MakeRegistrySettingsStore(path);
  MainSettings reg(*store);
  EXPECT_EQ(reg.Size, 8);
  try {
    reg.Save();
    ADD_FAILURE() << "saved";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "キー Settings の作成に失敗しました");
  }
  EXPECT_FALSE(KeyExists(path));
  DeleteKeyTree(path);
}

// Moves an existing product key (a saver run before the test leaves one) to
// a private key for the object's life and puts it back afterwards.
class ProductKeySetAside {
public:
  explicit ProductKeySetAside(const std::string& product) : product_(product), aside_(PrivateKeyPath()) {
    if (!KeyExists(product_)) return;
    HKEY from = nullptr, to = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(product_).c_str(), 0, KEY_READ, &from) != ERROR_SUCCESS)
      return;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(aside_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &to,
                        nullptr) == ERROR_SUCCESS) {
      held_ = RegCopyTreeW(from, nullptr, to) == ERROR_SUCCESS;
      RegCloseKey(to);
    }
    RegCloseKey(from);
    if (held_) DeleteTree(product_);
  }
  ~ProductKeySetAside() {
    if (!held_) return;
    DeleteTree(product_);
    HKEY from = nullptr, to = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(aside_).c_str(), 0, KEY_READ, &from) != ERROR_SUCCESS) return;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(product_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &to, nullptr) == ERROR_SUCCESS) {
      const bool back = RegCopyTreeW(from, nullptr, to) == ERROR_SUCCESS;
      RegCloseKey(to);
      RegCloseKey(from);
      if (back) DeleteKeyTree(aside_);
      return;
    }
    RegCloseKey(from);
  }
  ProductKeySetAside(const ProductKeySetAside&) = delete;
  ProductKeySetAside& operator=(const ProductKeySetAside&) = delete;

private:
  static void DeleteTree(const std::string& path) {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
  }
  std::string product_;
  std::string aside_;
  bool held_ = false;
};

TEST(RegistryStore, TheDefaultStoreIsTheProductKeyOfTheCurrentUser) {
  const std::string product = kProductKeyPath;
  const ProductKeySetAside aside(product);
  ASSERT_FALSE(KeyExists(product)) << "the product key could not be set aside";
  {
    MusicSettings bgm;  // loading alone creates the key, not the subkey
    EXPECT_TRUE(KeyExists(product));
    EXPECT_FALSE(KeyExists(product + "\\BGM"));
  }
  EXPECT_TRUE(KeyExists(product + "\\BGM"));
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(product).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(product).c_str());
}

}  // namespace
}  // namespace tessivane::testing
