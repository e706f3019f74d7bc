#include "settings/MemorySettingsStore.h"

namespace tessivane {

class MemorySettingsSession : public SettingsSession {
public:
  explicit MemorySettingsSession(MemorySettingsStore& store) : store_(store) {
    open_ = !store.failProductKey_;
    if (open_) store.contents_.productKey = true;
  }

  StoredRead Read(std::string_view subkey, std::string_view name) override {
    StoredRead result;
    if (!open_) return result;
    auto sub = store_.contents_.subkeys.find(subkey);
    if (sub == store_.contents_.subkeys.end()) return result;
    auto value = sub->second.find(name);
    if (value == sub->second.end()) return result;
    const auto& v = value->second;
    if (v.type != kStoredText && v.type != kStoredExpandText) {
      result.status = StoredRead::kWrongType;
    } else if (v.data.size() > kMaxStoredTextBytes) {
      result.status = StoredRead::kTooLarge;
    } else {
      result.status = StoredRead::kText;
      result.text = DecodeStoredText(v.data.data(), v.data.size());
    }
    return result;
  }

  WriteStatus WriteText(std::string_view subkey, std::string_view name, const std::string& text) override {
    if (!open_ || store_.failedSubkeys_.count(subkey)) return WriteStatus::kKeyCreateFailed;
    auto& sub = store_.contents_.subkeys[std::string(subkey)];
    if (store_.failedValues_.count({std::string(subkey), std::string(name)})) return WriteStatus::kSetFailed;
    sub[std::string(name)] = {kStoredText, EncodeStoredText(text)};
    store_.writes_.push_back({std::string(subkey), std::string(name), text});
    return WriteStatus::kOk;
  }

private:
  MemorySettingsStore& store_;
  bool open_ = false;
};

std::unique_ptr<SettingsSession> MemorySettingsStore::Open() {
  return std::make_unique<MemorySettingsSession>(*this);
}

void MemorySettingsStore::PutText(const std::string& subkey, const std::string& name, const std::string& text,
                                  uint32_t type) {
  PutRaw(subkey, name, type, EncodeStoredText(text));
}

void MemorySettingsStore::PutRaw(const std::string& subkey, const std::string& name, uint32_t type,
                                 std::vector<unsigned char> data) {
  contents_.productKey = true;
  contents_.subkeys[subkey][name] = {type, std::move(data)};
}

void MemorySettingsStore::PutDword(const std::string& subkey, const std::string& name, uint32_t value) {
  PutRaw(subkey, name, kStoredDword,
         {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
}

std::optional<std::string> MemorySettingsStore::Text(const std::string& subkey,
                                                     const std::string& name) const {
  auto sub = contents_.subkeys.find(subkey);
  if (sub == contents_.subkeys.end()) return std::nullopt;
  auto value = sub->second.find(name);
  if (value == sub->second.end()) return std::nullopt;
  const auto& v = value->second;
  if (v.type != kStoredText && v.type != kStoredExpandText) return std::nullopt;
  return DecodeStoredText(v.data.data(), v.data.size());
}

bool MemorySettingsStore::HasSubkey(const std::string& subkey) const {
  return contents_.subkeys.count(subkey) != 0;
}

}  // namespace tessivane
