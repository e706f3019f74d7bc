// A settings store for the record tests, with the means to plant raw values
// and look at what the records wrote. The same tests run on the memory store
// (everywhere) and on the real registry (the Windows test program, in a
// private key that is removed afterwards).
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/MemorySettingsStore.h"

namespace tessivane::testing {

class StoreHarness {
public:
  using Value = MemorySettingsStore::Value;
  using Contents = MemorySettingsStore::Contents;

  virtual ~StoreHarness() = default;
  virtual SettingsStore& store() = 0;
  virtual void PutRaw(const std::string& subkey, const std::string& name, uint32_t type,
                      std::vector<unsigned char> data) = 0;
  virtual std::optional<Value> Get(const std::string& subkey, const std::string& name) = 0;
  // The product key and the values of the records' three subkeys.
  virtual Contents Snapshot() = 0;

  void PutText(const std::string& subkey, const std::string& name, const std::string& text,
               uint32_t type = kStoredText) {
    PutRaw(subkey, name, type, EncodeStoredText(text));
  }
  void PutDword(const std::string& subkey, const std::string& name, uint32_t value) {
    PutRaw(subkey, name, kStoredDword,
           {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
  }
  // The decoded text of a text value; nothing when missing or not text.
  std::optional<std::string> Text(const std::string& subkey, const std::string& name) {
    auto v = Get(subkey, name);
    if (!v || (v->type != kStoredText && v->type != kStoredExpandText)) return std::nullopt;
    return DecodeStoredText(v->data.data(), v->data.size());
  }
  bool HasSubkey(const std::string& subkey) { return Snapshot().subkeys.count(subkey) != 0; }
};

struct HarnessKind {
  const char* name;
  std::unique_ptr<StoreHarness> (*make)();
};

std::unique_ptr<StoreHarness> MakeMemoryHarness();
// The stores this test program runs the record tests on.
std::vector<HarnessKind> HarnessKinds();

}  // namespace tessivane::testing
