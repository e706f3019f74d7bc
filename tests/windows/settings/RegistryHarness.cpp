#include "RegistryHarness.h"

#include <windows.h>

#include <vector>

#include "base/Utf.h"

namespace tessivane::testing {

namespace {

// The test's own handle wrapper: the store's is private to it.
class Key {
public:
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

class RegistryHarness : public StoreHarness {
public:
  RegistryHarness() : path_(PrivateKeyPath()), store_(MakeRegistrySettingsStore(path_)) {}
  ~RegistryHarness() override { DeleteKeyTree(path_); }

  SettingsStore& store() override { return *store_; }

  void PutRaw(const std::string& subkey, const std::string& name, uint32_t type,
              std::vector<unsigned char> data) override {
    Key key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path_ + "\\" + subkey).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("test key not created");
    }
    if (RegSetValueExW(key.get(), Widen(name).c_str(), 0, type, data.data(),
                       static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
      throw std::runtime_error("test value not set");
    }
  }

  std::optional<Value> Get(const std::string& subkey, const std::string& name) override {
    Key key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path_ + "\\" + subkey).c_str(), 0, KEY_READ, key.out()) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    DWORD type = 0, size = 0;
    std::wstring wname = Widen(name);
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    Value v;
    v.type = type;
    v.data.resize(size);
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, v.data.data(), &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    v.data.resize(size);
    return v;
  }

  Contents Snapshot() override {
    Contents contents;
    Key product;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path_).c_str(), 0, KEY_READ, product.out()) != ERROR_SUCCESS) {
      return contents;
    }
    contents.productKey = true;
    for (const char* subkey : {"Settings", "Option", "BGM"}) {
      Key key;
      if (RegOpenKeyExW(product.get(), Widen(subkey).c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        continue;
      auto& values = contents.subkeys[subkey];
      DWORD count = 0, maxName = 0, maxData = 0;
      RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                       &maxData, nullptr, nullptr);
      for (DWORD i = 0; i < count; ++i) {
        std::vector<wchar_t> name(maxName + 2);
        DWORD nameLength = maxName + 1, type = 0, size = maxData;
        std::vector<unsigned char> data(maxData + 1);
        if (RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS) {
          continue;
        }
        data.resize(size);
        values[Narrow(std::wstring(name.data(), nameLength))] = {type, std::move(data)};
      }
    }
    return contents;
  }

private:
  std::string path_;
  std::unique_ptr<SettingsStore> store_;
};

}  // namespace

std::string PrivateKeyPath() {
  static int counter = 0;
  return "Software\\Qel\\TessivaneTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + " 設定 Ünï ✓😀";
}

void DeleteKeyTree(const std::string& keyPath) {
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(keyPath).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(keyPath).c_str());
  // The shared parents go once nothing is left in them (deleting a key
  // with subkeys fails, so a real product key keeps its parent).
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Qel\\TessivaneTest");
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Qel");
}

std::unique_ptr<StoreHarness> MakeRegistryHarness() { return std::make_unique<RegistryHarness>(); }

std::vector<HarnessKind> HarnessKinds() {
  return {{"Memory", MakeMemoryHarness}, {"Registry", MakeRegistryHarness}};
}

}  // namespace tessivane::testing
