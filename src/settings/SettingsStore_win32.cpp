// The settings store in the registry below HKEY_CURRENT_USER, through the W
// functions so that any Unicode text round-trips. Every key handle is owned
// by a ScopedKey and closed as soon as its operation is done.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/ScopedWin.h"
#include "base/Utf.h"
#include "settings/SettingsStore.h"

namespace tessivane {

namespace {

class RegistrySession : public SettingsSession {
public:
  explicit RegistrySession(const std::wstring& keyPath) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, product_.out(), nullptr) != ERROR_SUCCESS) {
      *product_.out() = nullptr;
    }
  }

  StoredRead Read(std::string_view subkey, std::string_view name) override {
    StoredRead result;
    if (!product_) return result;
    ScopedKey sub;
    if (RegOpenKeyExW(product_.get(), Widen(std::string(subkey)).c_str(), 0, KEY_ALL_ACCESS, sub.out()) !=
        ERROR_SUCCESS) {
      return result;
    }
    const std::wstring valueName = Widen(std::string(name));
    // Ask for the type and size first; read only text of a sane size. The
    // value may change between the calls, so a grown one is asked again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      DWORD type = REG_NONE;
      DWORD size = 0;
      LONG status = RegQueryValueExW(sub.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
      if (status != ERROR_SUCCESS) return result;  // missing (or unreadable): the default
      if (type != REG_SZ && type != REG_EXPAND_SZ) {
        result.status = StoredRead::kWrongType;
        return result;
      }
      if (size > kMaxStoredTextBytes) {
        result.status = StoredRead::kTooLarge;
        return result;
      }
      // A few zero bytes beyond the data: the registry need not terminate
      // a string, and some versions return one that fills the buffer
      // exactly without a terminator.
      std::vector<unsigned char> data(size + 4, 0);
      DWORD got = size + 2;
      status = RegQueryValueExW(sub.get(), valueName.c_str(), nullptr, &type, data.data(), &got);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) return result;
      if (type != REG_SZ && type != REG_EXPAND_SZ) {
        result.status = StoredRead::kWrongType;
        return result;
      }
      result.status = StoredRead::kText;
      result.text = DecodeStoredText(data.data(), std::min<size_t>(got, size + 2));
      return result;
    }
    return result;  // kept growing: treat as missing
  }

  WriteStatus WriteText(std::string_view subkey, std::string_view name, const std::string& text) override {
    if (!product_) return WriteStatus::kKeyCreateFailed;
    ScopedKey sub;
    if (RegCreateKeyExW(product_.get(), Widen(std::string(subkey)).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, sub.out(),
                        nullptr) != ERROR_SUCCESS) {
      return WriteStatus::kKeyCreateFailed;
    }
    std::vector<unsigned char> data = EncodeStoredText(text);
    if (data.size() > MAXDWORD) return WriteStatus::kSetFailed;
    if (RegSetValueExW(sub.get(), Widen(std::string(name)).c_str(), 0, REG_SZ, data.data(),
                       static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
      return WriteStatus::kSetFailed;
    }
    return WriteStatus::kOk;
  }

private:
  ScopedKey product_;
};

class RegistrySettingsStore : public SettingsStore {
public:
  explicit RegistrySettingsStore(const std::string& keyPath) : keyPath_(Widen(keyPath)) {}
  std::unique_ptr<SettingsSession> Open() override { return std::make_unique<RegistrySession>(keyPath_); }

private:
  std::wstring keyPath_;
};

}  // namespace

std::unique_ptr<SettingsStore> MakeRegistrySettingsStore(const std::string& keyPath) {
  return std::make_unique<RegistrySettingsStore>(keyPath);
}

SettingsStore& PlatformSettingsStore() {
  static RegistrySettingsStore store(kProductKeyPath);
  return store;
}

}  // namespace tessivane
