#include "StoreHarness.h"

namespace tessivane::testing {

namespace {

class MemoryHarness : public StoreHarness {
public:
  SettingsStore& store() override { return store_; }
  void PutRaw(const std::string& subkey, const std::string& name, uint32_t type,
              std::vector<unsigned char> data) override {
    store_.PutRaw(subkey, name, type, std::move(data));
  }
  std::optional<Value> Get(const std::string& subkey, const std::string& name) override {
    const auto& subkeys = store_.contents().subkeys;
    auto sub = subkeys.find(subkey);
    if (sub == subkeys.end()) return std::nullopt;
    auto value = sub->second.find(name);
    if (value == sub->second.end()) return std::nullopt;
    return value->second;
  }
  Contents Snapshot() override { return store_.contents(); }

private:
  MemorySettingsStore store_;
};

}  // namespace

std::unique_ptr<StoreHarness> MakeMemoryHarness() { return std::make_unique<MemoryHarness>(); }

}  // namespace tessivane::testing
